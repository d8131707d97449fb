#include "platform/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <thread>

namespace zb {

namespace {

// Qt's font database starts with FcInit(), which loads the configuration and
// the font caches into fontconfig's one global configuration. Loaded here
// first, Qt finds it ready.
class FontconfigWarmUp : public FontWarmUp {
public:
    FontconfigWarmUp()
    {
        // Qt takes the locale from the environment as it starts; taken now,
        // it does not change while the configuration's numbers are read.
        std::setlocale(LC_ALL, "");
        thread_ = std::thread([] { FcInit(); });
    }
    ~FontconfigWarmUp() override { finish(); }
    void finish() override
    {
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::thread thread_;
};

} // namespace

std::unique_ptr<FontWarmUp> beginFontWarmUp() { return std::make_unique<FontconfigWarmUp>(); }

} // namespace zb
