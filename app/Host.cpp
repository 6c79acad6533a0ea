#include "app/Host.h"

namespace dotvane {
namespace {
Host* installed = nullptr;
}

void InstallHost(Host* host) { installed = host; }
Host* InstalledHost() { return installed; }

void ShowMessage(const std::string& text)
{
    if (installed) installed->ShowMessage(text);
}

void ShowError(const std::string& text)
{
    if (installed) installed->ShowError(text);
}

void SetStatusText(const std::string& text)
{
    if (installed) installed->SetStatusText(text);
}

void AppendStatus(const std::string& text) { SetStatusText(StatusText() + text); }

std::string StatusText() { return installed ? installed->StatusText() : std::string(); }

void ProcessMessages()
{
    if (installed) installed->ProcessMessages();
}

}  // namespace dotvane
