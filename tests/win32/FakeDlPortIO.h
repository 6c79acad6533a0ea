#pragma once

#include <cstdint>

// What the fake port library built for the Windows tests records of every
// port access, and the extra entry points through which the tests read and
// reset that record and choose what reads give.
namespace dotvane::test::FakeDlPortIO {

struct Access {
    uint32_t IsWrite;
    uint32_t Port;
    uint32_t Value;
    // Bytes: 1, 2 or 4.
    uint32_t Width;
};

// "FakePortLog": the accesses since the last clear, oldest first; the
// pointer stays valid until the next access or clear.
using LogFunction = uint32_t (*)(const Access** accesses);
// "FakePortClear": forgets the accesses.
using ClearFunction = void (*)();
// "FakePortAnswer": what every read gives from now on (cut to its width);
// all ones until set.
using AnswerFunction = void (*)(uint32_t value);

}  // namespace dotvane::test::FakeDlPortIO
