// KORVEN: tone and colour correction of one photograph at a time.
#include <iostream>

#include "app/startup.h"
#include "platform/command_line.h"
#include "platform/form.h"

int main(int argc, char** argv)
{
    const fe::CommandLine command = fe::read_command_line({argv, argv + argc}, KORVEN_VERSION);
    if (!command.run) {
        (command.exit_code == 0 ? std::cout : std::cerr) << command.text;
        return command.exit_code;
    }
    fe::init(1, argv);  // the toolkit gets no options of its own; the file was read above
    korven::start_up();
    if (!command.file.empty()) korven::load_at_start(command.file);
    return fe::wait_event();
}
