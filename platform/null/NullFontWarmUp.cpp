#include "platform/FontWarmUp.h"

namespace zb {

namespace {

// Qt reads the fonts itself when it first needs them.
class NullFontWarmUp : public FontWarmUp {
public:
    void finish() override {}
};

} // namespace

std::unique_ptr<FontWarmUp> beginFontWarmUp() { return std::make_unique<NullFontWarmUp>(); }

} // namespace zb
