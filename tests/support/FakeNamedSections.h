#pragma once

#include "platform/NamedSections.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace dotvane::test {

// Sections held in memory by name; installs itself for its lifetime. Each
// view is a copy of the section's bytes at the time it was mapped, so a
// read past its end is caught by the address sanitizer. Counts what is
// still open so tests can check that every handle is given back.
class FakeNamedSections : public platform::NamedSections {
    platform::NamedSectionsService::Scoped installed_{*this};

public:
    ~FakeNamedSections() override
    {
        for (const auto& [view, size] : views_) delete[] view;
    }

    std::map<std::string, std::vector<std::byte>, std::less<>> sections;
    bool failMapping = false;
    int opened = 0;
    int openMappings = 0;
    int openViews = 0;
    int rediscoveries = 0;

    Mapping OpenFileMapping(std::string_view name) override
    {
        ++opened;
        const auto it = sections.find(name);
        if (it == sections.end()) return 0;
        ++openMappings;
        handles_[next_] = it->second;
        return next_++;
    }
    // The limit each view was asked for, last one last.
    std::vector<size_t> limits;

    const std::byte* MapViewOfFile(Mapping mapping, size_t limit) override
    {
        limits.push_back(limit);
        if (failMapping || !handles_.contains(mapping)) return nullptr;
        auto* copy = new std::byte[handles_[mapping].size()];
        std::copy(handles_[mapping].begin(), handles_[mapping].end(), copy);
        views_[copy] = handles_[mapping].size();
        ++openViews;
        return copy;
    }
    size_t ViewSize(const std::byte* view) override { return views_.contains(view) ? views_[view] : 0; }
    void UnmapViewOfFile(const std::byte* view) override
    {
        if (views_.erase(view) == 0) return;
        delete[] view;
        --openViews;
    }
    void CloseHandle(Mapping mapping) override
    {
        if (handles_.erase(mapping) != 0) --openMappings;
    }
    void RediscoverSensors() override { ++rediscoveries; }

private:
    std::map<Mapping, std::vector<std::byte>> handles_;
    std::map<const std::byte*, size_t> views_;
    Mapping next_ = 1;
};

}  // namespace dotvane::test
