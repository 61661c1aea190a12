// KORVEN: tone and colour correction of one photograph at a time.
#include "app/startup.h"
#include "platform/form.h"

int main(int argc, char** argv)
{
    fe::init(argc, argv);
    korven::start_up();
    return fe::wait_event();
}
