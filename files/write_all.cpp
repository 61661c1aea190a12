// Output files are written as the system takes the bytes. Alone in its file
// so that tests can link a stand-in that fails like a full disk.
#include "files/output_file.h"

namespace korven {

bool write_all(int descriptor, const std::byte* bytes, std::size_t length)
{
    return write_bytes_to_system(descriptor, bytes, length);
}

}  // namespace korven
