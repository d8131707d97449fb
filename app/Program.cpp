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
    main.Form_Load();
    engine.run().lookBack();
}

} // namespace zb
