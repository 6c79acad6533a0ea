#include "vars/perf/NtCounterSource.h"

#include "config/IniFile.h"
#include "platform/FileNames.h"
#include "vars/Format.h"

namespace dotvane {

void NtCounterSource::OpenQuery()
{
    // Real-time data (no log file), with user data 1.
    if (platform::CounterQueryService::Current().PdhOpenQuery(nullptr, 1, &query_) != platform::kErrorSuccess)
        notices_.AppendStatus("PdhOpenQuery error");
}

void NtCounterSource::LoadCounters(const std::string& programFolder)
{
    platform::CounterQuery& pdh = platform::CounterQueryService::Current();
    const IniFile ini = IniFile::FromFile(platform::NativePath(programFolder + "LCDPERF.INI"));
    for (const std::string& section : ini.Sections()) {
        auto record = std::make_unique<CounterRecord>();
        const std::string path = ini.GetString(section, "name", "");
        const auto userData = reinterpret_cast<uintptr_t>(record.get());
        if (pdh.PdhAddCounter(query_, path, userData, &record->counter) != platform::kErrorSuccess) {
            notices_.AppendStatus("PdhAddCounter error");
            continue;
        }
        record->multiplier = ini.GetReal(section, "multiplier", 1.0);
        record->precision = ini.GetInteger(section, "precision", 4);
        CounterIndex[section] = record.get();
        records_.push_back(std::move(record));
    }
}

void NtCounterSource::CollectCounters()
{
    platform::CounterQuery& pdh = platform::CounterQueryService::Current();
    if (pdh.PdhCollectQueryData(query_) != platform::kErrorSuccess) notices_.AppendStatus("PdhCollectQueryData error");
    for (const auto& record : records_) {
        platform::PdhFmtCounterValue value;
        if (pdh.PdhGetFormattedCounterValue(record->counter, platform::kPdhFmtLong, nullptr, &value) !=
            platform::kErrorSuccess)
            notices_.AppendStatus("PdhGetFormattedCounterValue error");
        if (value.CStatus != platform::kPdhCstatusValidData) notices_.AppendStatus("pdhFormattedValue.CStatus error");
        record->latestValue = value.longValue;
    }
}

void NtCounterSource::CloseQuery()
{
    platform::CounterQueryService::Current().PdhCloseQuery(query_);
    query_ = 0;
}

std::string NtCounterSource::Value(std::string_view name)
{
    const auto it = CounterIndex.find(name);
    if (it == CounterIndex.end()) return {};
    const CounterRecord& record = *it->second;
    // Adding 0 turns the -0 of a negative multiplier into 0.
    const double value = static_cast<double>(record.latestValue) * record.multiplier + 0.0;
    return FormatGeneral(value, record.precision);
}

}  // namespace dotvane
