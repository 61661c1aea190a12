#pragma once
// libjpeg reports a fatal error by calling error_exit, which must not return:
// ours jumps back to the function that set `back`, with the message kept.
// Warnings about damaged data are not printed.

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace korven::jpeg {

struct ErrorExit {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer is also ours
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void jump_back(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorExit*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->back, 1);
}

inline void keep_quiet(j_common_ptr) {}

// The error manager of a compress or decompress struct that reports to `errors`.
inline jpeg_error_mgr* reporting_to(ErrorExit& errors)
{
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = jump_back;
    manager->output_message = keep_quiet;
    return manager;
}

}  // namespace korven::jpeg
