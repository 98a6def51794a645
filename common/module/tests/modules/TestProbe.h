// Shared by the module tests and their test module libraries: fake windows
// (a handle is a FakeWindow*), a log of what the modules and their sheets
// were asked to do, and a fake wizard sheet.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ondrelo/ModuleObject.h"
#include "ondrelo/ondmodule_testprobe_export.h"

namespace testprobe {

// Windows live until ResetWindows, so that a dead handle stays readable.
TESTPROBE_EXPORT HWND NewWindow(HWND parent, RECT client);
// Destroys the window and all windows inside it.
TESTPROBE_EXPORT void DestroyWindowTree(HWND window);
TESTPROBE_EXPORT bool IsAlive(HWND window);
TESTPROBE_EXPORT bool IsVisible(HWND window);
TESTPROBE_EXPORT HWND ParentOf(HWND window);
TESTPROBE_EXPORT RECT ClientRect(HWND window);
TESTPROBE_EXPORT void ResetWindows();

TESTPROBE_EXPORT void Log(const std::string& event);
TESTPROBE_EXPORT std::vector<std::string> Events();
TESTPROBE_EXPORT void ClearEvents();
// The events that start with prefix.
TESTPROBE_EXPORT std::vector<std::string> EventsOf(const std::string& prefix);

// A wizard sheet on a fake window. Logs "<name>:<operation>"; Create also
// logs the resource context in force ("<name>:Create in <library>").
class TESTPROBE_EXPORT CFakeSheet : public ondrelo::IModuleSheet {
public:
    explicit CFakeSheet(std::string name);
    ~CFakeSheet() override;
    bool Create(HWND parent, const RECT& rect) override;
    bool IsWindowAlive() const override;
    void ShowWindow(bool show) override;
    void OnParentResize() override;
    void DestroyWindow() override;
    HWND Window() const { return m_window; }

private:
    std::string m_name;
    HWND m_window = nullptr;
};

}  // namespace testprobe
