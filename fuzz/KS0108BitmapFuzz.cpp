// Any file, of any length, is read as a KS0108 bitmap without a crash; the
// port is closed, so nothing reaches a device.
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dotvane-fuzz-ks0108-" + std::to_string(std::random_device()()) + ".bmp");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // A port that goes nowhere: only the reading of the file matters here.
    struct NoPort : dotvane::ParallelPort {
        std::optional<dotvane::PortOpenFailure> OpenRegisters(const std::string&,
                                                              std::span<const dotvane::PortRange>) override
        {
            return std::nullopt;
        }
        uint8_t ReadRegister(uint16_t, dotvane::PortRegister) override { return 0xFF; }
        void WriteRegister(uint16_t, dotvane::PortRegister, uint8_t) override {}
        void WriteRegisterWord(uint16_t, dotvane::PortRegister, uint16_t) override {}
    };
    static NoPort port;
    static const dotvane::TMainSettings settings;
    static dotvane::TKS0108Driver driver(port, settings);
    driver.DrawBitmapFile(file);
    return 0;
}
