#include "lcd/emulator/PanelSimulation.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace dotvane::emulator {
namespace {

bool ReadNumber(const char* text, long& value)
{
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 0);
    if (*end != '\0') return false;
    value = parsed;
    return true;
}

std::string Lower(const char* text)
{
    std::string lower;
    for (; *text; ++text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
    return lower;
}

// "C 24" or "D 00".
std::string ByteLine(uint8_t value, bool command)
{
    char line[8];
    std::snprintf(line, sizeof line, "%c %02X", command ? 'C' : 'D', value);
    return line;
}

}  // namespace

SimulationConfig SimulationConfig::FromEnvironment(const std::function<const char*(const char*)>& lookup)
{
    SimulationConfig config;
    if (const char* panel = lookup("DOTVANE_SIM_PANEL")) {
        const std::string name = Lower(panel);
        if (name == "ks0108" || name == "1") config.Panel = Module::KS0108;
        if (name == "t6963c" || name == "0") config.Panel = Module::T6963C;
    }
    long value = 0;
    if (ReadNumber(lookup("DOTVANE_SIM_BASE"), value) && value >= 0 && value <= 0xFFFF)
        config.Base = static_cast<uint16_t>(value);
    if (ReadNumber(lookup("DOTVANE_SIM_WIRING"), value)) config.T6963C.WiringB = value != 0;
    if (ReadNumber(lookup("DOTVANE_SIM_WIDTH"), value) && value > 0 && value <= 1024)
        config.T6963C.Width = static_cast<int>(value);
    if (ReadNumber(lookup("DOTVANE_SIM_HEIGHT"), value) && value > 0 && value <= 1024)
        config.T6963C.Height = static_cast<int>(value);
    if (ReadNumber(lookup("DOTVANE_SIM_FONT_WIDTH"), value) && (value == 6 || value == 8))
        config.T6963C.FontWidth = static_cast<int>(value);
    if (ReadNumber(lookup("DOTVANE_SIM_BUSY_POLLS"), value)) config.T6963C.BusyPolls = static_cast<int>(value);
    if (const char* file = lookup("DOTVANE_SIM_PNG"); file && *file) config.PictureFile = file;
    if (ReadNumber(lookup("DOTVANE_SIM_SCALE"), value) && value >= 1 && value <= 16)
        config.Scale = static_cast<int>(value);
    if (const char* file = lookup("DOTVANE_SIM_LOG")) config.LogFile = file;
    return config;
}

PanelSimulation::PanelSimulation(const SimulationConfig& config) : config_(config), port_(config.Base)
{
    if (config.Panel == SimulationConfig::Module::KS0108) {
        ks0108_ = std::make_unique<KS0108Panel>();
        port_.AttachPanel(ks0108_.get());
    } else {
        t6963c_ = std::make_unique<T6963CPanel>(config.T6963C);
        port_.AttachPanel(t6963c_.get());
    }
}

void PanelSimulation::Write(uint32_t port, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) port_.Write(port + static_cast<uint32_t>(i), static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t PanelSimulation::Read(uint32_t port, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) value |= static_cast<uint32_t>(port_.Read(port + static_cast<uint32_t>(i))) << (8 * i);
    return value;
}

void PanelSimulation::LogBytes(std::function<void(const std::string& line)> line)
{
    if (t6963c_) {
        t6963c_->ObserveBytes([line](uint8_t value, bool command) { line(ByteLine(value, command)); });
    } else {
        ks0108_->ObserveBytes([line](int controller, uint8_t value, bool instruction) {
            line((controller == 0 ? "L " : "R ") + ByteLine(value, instruction));
        });
    }
}

Glass PanelSimulation::Render() const { return t6963c_ ? t6963c_->Render() : ks0108_->Render(); }

uint64_t PanelSimulation::Revision() const { return t6963c_ ? t6963c_->Revision() : ks0108_->Revision(); }

bool PanelSimulation::TakeChangedGlass(Glass& glass)
{
    if (Revision() == seenRevision_) return false;
    seenRevision_ = Revision();
    Glass rendered = Render();
    if (rendered == lastTaken_) return false;
    lastTaken_ = rendered;
    glass = std::move(rendered);
    return true;
}

}  // namespace dotvane::emulator
