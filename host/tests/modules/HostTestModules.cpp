// Two module classes for the host's tests. Their sheets are plain widgets
// that count, in dynamic properties, how often the host showed, hid and
// fitted them, and hold two edit fields and a default button for the
// keyboard tests.
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/comserver.h"

namespace {

void Bump(QObject* object, const char* counter) {
    object->setProperty(counter, object->property(counter).toInt() + 1);
}

class CCountingSheet final : public ondrelo::IModuleSheet {
public:
    explicit CCountingSheet(const char* name) : m_name(name) {}
    ~CCountingSheet() override { delete m_window.data(); }

    bool Create(HWND parent, const RECT& rect) override {
        QWidget* pane = ondrelo::ToWidget(parent);
        if (pane == nullptr) {
            return false;
        }
        m_window = new QWidget(pane);
        m_window->setObjectName(QStringLiteral("TestSheet:") + QString::fromLatin1(m_name));
        m_window->setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        auto* layout = new QVBoxLayout(m_window);
        auto* first = new QLineEdit(m_window);
        first->setObjectName(QStringLiteral("first"));
        auto* second = new QLineEdit(m_window);
        second->setObjectName(QStringLiteral("second"));
        auto* next = new QPushButton(QStringLiteral("Next"), m_window);
        next->setObjectName(QStringLiteral("next"));
        next->setDefault(true);
        QObject::connect(next, &QPushButton::clicked, next, [next] { Bump(next, "clicks"); });
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(next);
        m_window->hide();
        return true;
    }
    bool IsWindowAlive() const override { return !m_window.isNull(); }
    void ShowWindow(bool show) override {
        if (m_window) {
            m_window->setVisible(show);
            Bump(m_window, show ? "shows" : "hides");
        }
    }
    void OnParentResize() override {
        if (m_window && m_window->parentWidget() != nullptr) {
            m_window->setGeometry(m_window->parentWidget()->rect());
            Bump(m_window, "resizes");
        }
    }
    void DestroyWindow() override { delete m_window.data(); }

private:
    const char* m_name;
    QPointer<QWidget> m_window;
};

std::unique_ptr<ondrelo::IModuleSheet> MakeAlphaSheet() {
    return std::make_unique<CCountingSheet>("Alpha");
}
std::unique_ptr<ondrelo::IModuleSheet> MakeBetaSheet() {
    return std::make_unique<CCountingSheet>("Beta");
}

const ondrelo::SModuleDescriptor kAlpha{"Alpha Test Wizard", nullptr, &MakeAlphaSheet};
const ondrelo::SModuleDescriptor kBeta{"Beta Test Wizard", nullptr, &MakeBetaSheet};

class CAlphaModule : public ondrelo::COndModuleObject {
public:
    CAlphaModule() : COndModuleObject(kAlpha) {}
};

class CBetaModule : public ondrelo::COndModuleObject {
public:
    CBetaModule() : COndModuleObject(kBeta) {}
};

const ondrelo::SModuleResources kResources{"HostTestModules", nullptr, nullptr};

ondrelo::CModuleLibrary g_library(
    kResources,
    {ondrelo::ModuleClassEntry<CAlphaModule>(
         ondrelo::com::MakeGuid("{0DE11E57-0000-4000-8000-0000000000A1}"), nullptr),
     ondrelo::ModuleClassEntry<CBetaModule>(
         ondrelo::com::MakeGuid("{0DE11E57-0000-4000-8000-0000000000B2}"), nullptr)},
    ondrelo::com::STypeLibInfo{});

}  // namespace

ONDRELO_MODULE_LIBRARY(g_library)
