// KORVEN: tone and colour correction of one photograph at a time.
#include <iostream>

#include "app/batch.h"
#include "app/keys.h"
#include "app/startup.h"
#include "files/photo_metadata.h"
#include "platform/command_line.h"
#include "platform/form.h"

int main(int argc, char** argv)
{
    const fe::CommandLine command = fe::read_command_line({argv, argv + argc}, KORVEN_VERSION, korven::keys_help());
    if (!command.run) {
        (command.exit_code == 0 ? std::cout : std::cerr) << command.text;
        return command.exit_code;
    }
    // The batch is decided here, before any window code: it needs no display.
    if (command.batch) {
        korven::prepare_metadata_library();
        return korven::run_batch(*command.batch);
    }
    // The toolkit gets the program's name and no options of its own; the file was read above.
    static char name[] = "korven";
    static char* toolkit_argv[] = {argc > 0 ? argv[0] : name, nullptr};
    fe::init(1, toolkit_argv);
    korven::start_up();
    if (!command.file.empty()) korven::load_at_start(command.file);
    return fe::wait_event();
}
