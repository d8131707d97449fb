#include "X11ErrorTrap.h"

namespace zb {

namespace {

int errorsSeen = 0;

int countError(Display*, XErrorEvent*)
{
    ++errorsSeen;
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap() : previous_(XSetErrorHandler(countError)), errorsBefore_(errorsSeen) {}

X11ErrorTrap::~X11ErrorTrap() { XSetErrorHandler(previous_); }

bool X11ErrorTrap::failed() const { return errorsSeen != errorsBefore_; }

} // namespace zb
