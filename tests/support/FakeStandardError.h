#pragma once

#include "platform/StandardError.h"

#include <deque>
#include <string>

namespace dotvane::test {

// Standard error as a string: each write answers with the next of
// `answers` (Written once they run out), and what was written is kept.
class FakeStandardError : public platform::StandardError {
public:
    platform::ErrorOutput Write(std::string_view bytes) override
    {
        ++writes;
        platform::ErrorOutput answer = platform::ErrorOutput::Written;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        if (answer == platform::ErrorOutput::Written) written.append(bytes);
        return answer;
    }

    std::deque<platform::ErrorOutput> answers;
    std::string written;
    int writes = 0;
};

}  // namespace dotvane::test
