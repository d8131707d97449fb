#include "Program.h"

namespace zb {

Program::Program(const Services& s)
    : services(s),
      settings(s.store, s.exe),
      main(s.timers, settings),
      engine(main, s),
      desk(main, s)
{}

void Program::start()
{
    load();
    lookBack();
}

void Program::load() { main.Form_Load(); }

void Program::lookBack() { engine.run().lookBack(); }

} // namespace zb
