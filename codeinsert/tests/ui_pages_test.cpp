// What a user sees of the component beyond its flow: its help page served
// from the loaded library, its texts at larger fonts, the order of the
// success message, where the file dialogs open and a browser that cannot
// be started.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUrl>

#include "InsletFixture.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/Format.h"
#include "ondrelo/Resources.h"
#include "ondrelo/ScriptedPrompt.h"

using namespace insletest;
using namespace inslet;
using ondrelo::CScriptedPrompt;

namespace {

QString WithoutMnemonics(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove('&');
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Every text of the window that does not fit its control, as "text (need
// w x h, have w x h)". A word-wrapped label must hold all its lines, any
// other label, radio button or check box its size hint, a push button its
// caption (and icon) inside its face, a group box its title.
std::vector<std::string> ClippedTexts(const QWidget* root) {
    std::vector<std::string> clipped;
    auto report = [&](const QString& text, QSize need, QSize have) {
        if (need.width() > have.width() || need.height() > have.height()) {
            clipped.push_back(QStringLiteral("%1 (need %2 x %3, have %4 x %5)")
                                  .arg(text)
                                  .arg(need.width())
                                  .arg(need.height())
                                  .arg(have.width())
                                  .arg(have.height())
                                  .toStdString());
        }
    };
    for (const QWidget* w : root->findChildren<const QWidget*>()) {
        const QFontMetrics metrics = w->fontMetrics();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->text().isEmpty()) {
                continue;
            }
            if (label->wordWrap()) {
                // Wrapping cannot split a word: the longest must fit a line.
                int widest = 0;
                for (const QString& word : label->text().split(' ', Qt::SkipEmptyParts)) {
                    widest = std::max(widest, metrics.horizontalAdvance(word));
                }
                report(label->text(), QSize(widest, label->heightForWidth(label->width())),
                       label->size());
            } else {
                report(label->text(), label->sizeHint(), label->size());
            }
        } else if (qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w)) {
            const auto* button = static_cast<const QAbstractButton*>(w);
            report(button->text(), button->sizeHint(), button->size());
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            if (button->text().isEmpty()) {
                continue;
            }
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect face =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QString caption = WithoutMnemonics(button->text());
            int width = metrics.horizontalAdvance(caption);
            if (!button->icon().isNull()) {
                width += button->iconSize().width() + 4;
            }
            report(caption, QSize(width, metrics.height()), face.size());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            // The title sits between the frame's corners, a few pixels in.
            const int width = metrics.horizontalAdvance(WithoutMnemonics(group->title())) + 16;
            report(group->title(), QSize(width, metrics.height()), group->size());
        }
    }
    return clipped;
}

}  // namespace

TEST_F(InsletTest, HelpPageIsServedFromTheLibraryLoadedByPath) {
    // Loaded by its path through the component layer; the test program
    // holds none of the library's resources itself.
    MakeComponent();
    const ondrelo::SModuleResources inslet{"Inslet", nullptr, ":/Inslet"};
    QWidget page;
    CBrowserWnd help;
    ASSERT_TRUE(help.Create(&page, QRect(0, 0, 300, 400)));
    {
        ondrelo::CModuleResourceScope scope(&inslet);
        ASSERT_TRUE(help.LoadFromResource(IDH_INSERTING_CODE));
    }
    EXPECT_EQ(help.source(), QUrl("res:///Inslet/100"));
    EXPECT_TRUE(help.toPlainText().startsWith("Inserting the code"));
    EXPECT_TRUE(help.toPlainText().contains("Manualy Copy the Code"));
    // Its style sheet is Common's, shared by every module's pages.
    EXPECT_EQ(CBrowserWnd::ResolveResource(help.source().resolved(QUrl("help.css"))),
              ":/Common/html/help.css");
}

// The component at the fonts users choose: no text of its tabs or of the
// inner wizard's pages may be cut off.
class InsletFontTest : public InsletTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        m_font = QApplication::font();
        QFont font = m_font;
        font.setPointSize(GetParam());
        QApplication::setFont(font);
        InsletTest::SetUp();
    }
    void TearDown() override {
        InsletTest::TearDown();
        QApplication::setFont(m_font);
    }
    QFont m_font;
};

TEST_P(InsletFontTest, NoTextIsClipped) {
    MakeComponent("mover2.js", "<!--_PLACE_THE_BUTTON_HERE_-->", "Something to warn about");
    QWidget* container = Control(IDD_CODE_INSERT);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->font().pointSize(), GetParam());
    EXPECT_EQ(ClippedTexts(container), std::vector<std::string>{});
    // The container grows with the font: 350 x 180 dialog units.
    EXPECT_EQ(container->size(), ondrelo::DialogRect(container, 0, 0, 350, 180).size());

    std::vector<std::string> wizardClipped;
    bool checked = false;
    ASSERT_TRUE(RunWizard([&](QWidget* dialog) {
        // All four pages exist in the wizard, shown or not.
        wizardClipped = ClippedTexts(dialog);
        checked = true;
    }));
    EXPECT_TRUE(checked);
    EXPECT_EQ(wizardClipped, std::vector<std::string>{});

    // The same controls at a font far larger than the one they were laid
    // out for do not fit: what the check above would catch.
    QFont larger = container->font();
    larger.setPointSize(GetParam() * 2);
    container->setFont(larger);
    EXPECT_FALSE(ClippedTexts(container).empty());
}

INSTANTIATE_TEST_SUITE_P(PointSizes, InsletFontTest, ::testing::Values(9, 11, 14),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "pt";
                         });

TEST_F(InsletTest, SuccessIsReportedOnlyOnceTheFileAndScriptFieldsShowTheRun) {
    MakeComponent();
    const std::string page = (Dir() / "site" / "new.html").string();
    const std::string dest = (Dir() / "site" / "js" / "mover2.js").string();
    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("lastscriptpath",
                                                      (Dir() / "site" / "js").string()));
    // What the page showed while each message was up.
    class CWitness : public CScriptedPrompt {
    public:
        std::function<std::string()> look;
        std::vector<std::string> seen;
        int MessageBox(HWND owner, const std::string& caption, const std::string& text,
                       unsigned style) override {
            seen.push_back(text + " | " + look());
            return CScriptedPrompt::MessageBox(owner, caption, text, style);
        }
    } prompt;
    prompt.look = [&] {
        return FieldText(IDC_FILE_FIELD) + " | " + FieldText(IDC_SCRIPT_FIELD) + " | " +
               (Control(IDC_FILE_LABEL)->isVisible() ? "labels shown" : "labels hidden");
    };
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        TypePath(w, page);
        Press(w, ID_WIZNEXT);
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(prompt.seen, std::vector<std::string>{"The Code is Successfully Inserted | " + page +
                                                    " | " + dest + " | labels shown"});
}

TEST_F(InsletTest, BrowseDialogsOpenInTheFolderOfThePathAlreadyTyped) {
    MakeComponent();
    CScriptedPrompt prompt;
    const std::string typed = (Dir() / "site" / "typed.html").string();
    const std::string dest = (Dir() / "site" / "js" / "mover2.js").string();
    prompt.AnswerFile(std::nullopt);  // the two "&Browse ..." dialogs are cancelled
    prompt.AnswerFile(std::nullopt);
    prompt.AnswerFile(dest);  // "Change The Destination Path", then cancelled
    RunWizard([&](QWidget* w) {
        Press(w, IDC_BROWSE);  // nothing typed yet: the dialog chooses
        TypePath(w, typed);
        Press(w, IDC_BROWSE);
        Press(w, ID_WIZNEXT);
        Press(w, IDC_CHANGE_DESTINATION);
        Press(w, IDC_CHANGE_DESTINATION);
    });
    std::vector<std::pair<std::string, std::string>> dialogs;
    for (const auto& record : prompt.Records()) {
        if (record.kind != ondrelo::EPromptKind::MessageBox) {
            dialogs.emplace_back(record.dialog.initialDir, record.dialog.fileName);
        }
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"", ""},
        {(Dir() / "site").string(), "typed.html"},
        // No destination and no script folder used before: beside the page.
        {(Dir() / "site").string(), "mover2.js"},
        {(Dir() / "site" / "js").string(), "mover2.js"},
    };
    EXPECT_EQ(dialogs, expected);
}

TEST_F(InsletTest, OpenInBrowserReportsAMissingPageOrABrowserThatDidNotStart) {
    MakeComponent();
    const std::string page = (Dir() / "site" / "new.html").string();
    m_handler.onInsert = [&] { Write("site/new.html", "<html></html>\n"); };
    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("lastscriptpath",
                                                      (Dir() / "site" / "js").string()));
    {
        CScriptedPrompt quiet;
        ASSERT_TRUE(RunWizard([&](QWidget* w) {
            TypePath(w, page);
            Press(w, ID_WIZNEXT);
            Press(w, ID_WIZFINISH);
        }));
    }
    ASSERT_TRUE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());

    struct Case {
        const char* name;
        bool pageExists;
        bool started;
        std::string message;  // empty: none
    };
    const Case cases[] = {
        {"browser started", true, true, ""},
        {"no browser", true, false,
         ondrelo::FormatText(ondrelo::kBrowserNotStarted, {page})},
        {"page removed since", false, true,
         ondrelo::FormatText(ondrelo::kBrowserFileMissing, {page})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.pageExists) {
            fs::remove(page);
        }
        int opened = 0;
        const ondrelo::UrlOpener previous = ondrelo::SetUrlOpener([&](const QUrl& url) {
            EXPECT_EQ(url, QUrl::fromLocalFile(QString::fromStdString(page)));
            ++opened;
            return c.started;
        });
        CScriptedPrompt prompt;
        Click(IDC_OPEN_IN_BROWSER);
        ondrelo::SetUrlOpener(previous);
        EXPECT_EQ(opened, c.pageExists ? 1 : 0);
        if (c.message.empty()) {
            EXPECT_TRUE(prompt.Records().empty());
        } else {
            ASSERT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.message});
            EXPECT_EQ(prompt.Records()[0].style & 0xF0, MB_ICONERROR);
        }
    }
}
