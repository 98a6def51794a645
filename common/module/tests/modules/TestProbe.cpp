#include "TestProbe.h"

#include <deque>

namespace testprobe {

namespace {

struct FakeWindow {
    FakeWindow* parent = nullptr;
    RECT client{};
    bool alive = true;
    bool visible = false;
};

std::deque<FakeWindow>& Windows() {
    static std::deque<FakeWindow> windows;
    return windows;
}

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

FakeWindow* Fake(HWND window) {
    return reinterpret_cast<FakeWindow*>(window);
}

}  // namespace

HWND NewWindow(HWND parent, RECT client) {
    Windows().push_back(FakeWindow{Fake(parent), client, true, false});
    return reinterpret_cast<HWND>(&Windows().back());
}

void DestroyWindowTree(HWND window) {
    FakeWindow* target = Fake(window);
    if (target == nullptr) {
        return;
    }
    target->alive = false;
    for (FakeWindow& other : Windows()) {
        if (other.parent == target && other.alive) {
            DestroyWindowTree(reinterpret_cast<HWND>(&other));
        }
    }
}

bool IsAlive(HWND window) {
    return window != nullptr && Fake(window)->alive;
}
bool IsVisible(HWND window) {
    return IsAlive(window) && Fake(window)->visible;
}
HWND ParentOf(HWND window) {
    return reinterpret_cast<HWND>(Fake(window)->parent);
}
RECT ClientRect(HWND window) {
    return window ? Fake(window)->client : RECT{};
}
void ResetWindows() {
    Windows().clear();
}

void Log(const std::string& event) {
    EventLog().push_back(event);
}
std::vector<std::string> Events() {
    return EventLog();
}
void ClearEvents() {
    EventLog().clear();
}

std::vector<std::string> EventsOf(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& event : EventLog()) {
        if (event.rfind(prefix, 0) == 0) {
            found.push_back(event);
        }
    }
    return found;
}

CFakeSheet::CFakeSheet(std::string name) : m_name(std::move(name)) {}

CFakeSheet::~CFakeSheet() {
    Log(m_name + ":~sheet");
}

bool CFakeSheet::Create(HWND parent, const RECT& rect) {
    const ondrelo::SModuleResources* res = ondrelo::CurrentModuleResources();
    Log(m_name + ":Create in " + (res ? res->name : std::string("none")) + " at " +
        std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top));
    if (!IsAlive(parent)) {
        return false;
    }
    m_window = NewWindow(parent, ClientRect(parent));
    return true;
}

bool CFakeSheet::IsWindowAlive() const {
    return IsAlive(m_window);
}

void CFakeSheet::ShowWindow(bool show) {
    Log(m_name + (show ? ":Show" : ":Hide"));
    Fake(m_window)->visible = show;
}

void CFakeSheet::OnParentResize() {
    Log(m_name + ":Fit");
    Fake(m_window)->client = ClientRect(ParentOf(m_window));
}

void CFakeSheet::DestroyWindow() {
    Log(m_name + ":DestroyWindow");
    DestroyWindowTree(m_window);
}

}  // namespace testprobe
