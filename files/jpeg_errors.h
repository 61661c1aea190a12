#pragma once
// libjpeg reports a fatal error by calling error_exit, which must not return:
// ours jumps back to the function that set `back`, with the message kept.
// Warnings about damaged data are not printed; data cut off is noted.

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace korven::jpeg {

struct ErrorExit {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer is also ours
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
    bool data_cut_off;  // the file ended before its picture did (libjpeg fills the rest in)
};

[[noreturn]] inline void jump_back(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorExit*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->back, 1);
}

// Warnings are not printed; the one for data that ends early is noted.
inline void note_cut_off(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorExit*>(info->err)->data_cut_off = true;
}

// The error manager of a compress or decompress struct that reports to `errors`.
inline jpeg_error_mgr* reporting_to(ErrorExit& errors)
{
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = jump_back;
    manager->emit_message = note_cut_off;
    return manager;
}

}  // namespace korven::jpeg
