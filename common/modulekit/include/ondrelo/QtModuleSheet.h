// The Qt wizard sheet behind the toolkit-free module object: a module
// library is its display name, its resources and its sheet class,
//
//     const ondrelo::SModuleDescriptor kDescriptor{
//         "Popup Wizard", &kPopkinResources, &ondrelo::MakeQtModuleSheet<CPopkinSheet>};
#pragma once

#include <QPointer>
#include <memory>

#include "ondrelo/ModuleObject.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/QtWindow.h"

namespace ondrelo {

// Holds one sheet of class TSheet (a COndWizSheet). The sheet window may be
// destroyed with its parent before the holder goes; the guarded pointer then
// reads null and nothing touches the window again.
template <class TSheet>
class CQtModuleSheet final : public IModuleSheet {
public:
    CQtModuleSheet() = default;
    CQtModuleSheet(const CQtModuleSheet&) = delete;
    CQtModuleSheet& operator=(const CQtModuleSheet&) = delete;
    ~CQtModuleSheet() override { delete m_sheet.data(); }

    bool Create(HWND parent, const RECT& rect) override {
        if (m_sheet.isNull()) {
            m_sheet = new TSheet;
        }
        m_created = m_sheet->Create(parent, rect);
        if (!m_created) {
            return false;
        }
        m_sheet->hide();
        m_sheet->OnParentResize();
        return true;
    }
    bool IsWindowAlive() const override { return m_created && !m_sheet.isNull(); }
    void ShowWindow(bool show) override {
        if (IsWindowAlive()) {
            m_sheet->setVisible(show);
        }
    }
    void OnParentResize() override {
        if (IsWindowAlive()) {
            m_sheet->OnParentResize();
        }
    }
    void DestroyWindow() override {
        delete m_sheet.data();
        m_created = false;
    }

    TSheet* Sheet() const { return m_sheet.data(); }

private:
    QPointer<TSheet> m_sheet;
    bool m_created = false;
};

template <class TSheet>
std::unique_ptr<IModuleSheet> MakeQtModuleSheet() {
    return std::make_unique<CQtModuleSheet<TSheet>>();
}

}  // namespace ondrelo
