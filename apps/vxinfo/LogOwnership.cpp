#include "vxinfo/LogOwnership.h"

#include "vxinfo/IdentifierText.h"

#include <algorithm>
#include <set>

namespace vxinfo {

namespace {

constexpr std::size_t kNamesShown = 3;
// A longer name in the log may have been cut to 255 bytes where it was stored.
constexpr std::size_t kLongestComparableName = 254;

// The length of the UTF-8 sequence that starts with lead; 0 for a byte that starts none.
std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 0x6)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    if ((lead >> 3) == 0x1E)
        return 4;
    return 0;
}

bool IsValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2)
                return false;
        i += length;
    }
    return true;
}

// Whether the stored form of name is sure to read back as the log writes it: the database holds
// names as UTF-16 text of at most 255 bytes of UTF-8.
bool IsComparable(const std::string& name)
{
    return !name.empty() && name.size() <= kLongestComparableName && IsValidUtf8(name);
}

// Every name the database holds (objects, instances) as the log writes it, and the log's failed objects.
std::set<std::string> KnownNames(const DesignContent& content, const RunLogLines& lines)
{
    std::set<std::string> known(lines.failedObjects.begin(), lines.failedObjects.end());
    for (const ObjectRow& o : content.objects)
        known.insert(LogNameForm(o.name));
    for (const InstanceRow& i : content.instances)
        known.insert(LogNameForm(i.name));
    return known;
}

// An object of the design may bear the name of such a line, which then does not tell of the run.
ForeignLogVerdict TargetKeptVerdict(const RunLogLines& lines, const std::set<std::string>& known)
{
    for (const std::string& line : lines.targetKeptLines)
        if (!known.count(line))
            return {ForeignLogSign::SaysTargetKept, line, 0, {}};
    return {};
}

std::optional<int64_t> StampMilliseconds(const DesignContent& content)
{
    if (content.versionGuid.size() != 1)
        return std::nullopt;
    return IdentifierMilliseconds(content.versionGuid.front());
}

ForeignLogVerdict TimeVerdict(
    std::optional<int64_t> stampMs, const std::optional<FileTimes>& database, const FileTimes& log)
{
    if (!stampMs || !database)
        return {};
    const int64_t stamp = *stampMs;
    const bool databaseBornByItsRun = database->bornMs && *database->bornMs <= stamp;
    if (databaseBornByItsRun && log.bornMs && *log.bornMs > stamp)
        return {ForeignLogSign::CreatedAfterStamp, {}, *log.bornMs - stamp, {}};
    const bool databaseUntouched = database->modifiedMs <= stamp + kLateWriteMarginMs;
    if (databaseUntouched && log.modifiedMs > stamp + kLateWriteMarginMs)
        return {ForeignLogSign::WrittenLongAfterStamp, {}, log.modifiedMs - stamp, {}};
    return {};
}

// Every name the log gives must be comparable, and none known.
ForeignLogVerdict NameVerdict(const RunLogLines& lines, const std::set<std::string>& known)
{
    ForeignLogVerdict verdict;
    for (const std::string& name : lines.objectNames) {
        if (!IsComparable(name) || known.count(name))
            return {};
        if (verdict.names.size() < kNamesShown
            && std::find(verdict.names.begin(), verdict.names.end(), name) == verdict.names.end())
            verdict.names.push_back(name);
    }
    if (!verdict.names.empty())
        verdict.sign = ForeignLogSign::NamesOtherObjects;
    return verdict;
}

} // namespace

ForeignLogVerdict JudgeLogOwnership(const DesignContent& content,
    const std::optional<FileTimes>& databaseTimes, const RunLogLines& lines, const FileTimes& logTimes)
{
    const std::set<std::string> known = KnownNames(content, lines);
    for (const ForeignLogVerdict& verdict : {TargetKeptVerdict(lines, known),
             TimeVerdict(StampMilliseconds(content), databaseTimes, logTimes), NameVerdict(lines, known)})
        if (verdict.sign != ForeignLogSign::None)
            return verdict;
    return {};
}

} // namespace vxinfo
