#include "SystemJournal.h"

#include "engine/FileRunJournal.h"
#include "platform/JournalFile.h"
#include "platform/SystemServices.h"

namespace zb {

std::unique_ptr<RunJournal> createSystemJournal(const QString& name)
{
    return std::make_unique<FileRunJournal>(createSystemJournalFile(name));
}

} // namespace zb
