// Form template files: the byte layout, round trips of every element type
// and validation kind, and loads that must be refused without touching the
// current form.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "FormFixtures.h"
#include "formwarden/FormTemplate.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"

namespace {

using namespace formtest;

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

std::string Dword(std::uint32_t v) {
    return Bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)});
}

const std::string kHeader = "\x0DOND FRM TEMPL" + Dword(1) + Dword(0);

// A form compares equal when it writes the same bytes; the golden-byte
// tests below pin the writer down, so this is a deep comparison.
void ExpectSameForm(CHtmlForm& a, CHtmlForm& b) {
    EXPECT_EQ(a.m_strName, b.m_strName);
    ASSERT_EQ(a.GetElementCount(), b.GetElementCount());
    for (int i = 0; i < a.GetElementCount(); ++i) {
        ASSERT_TRUE(b.GetElement(i).GetData());
        EXPECT_EQ(a.GetElement(i).GetData()->GetType(), b.GetElement(i).GetData()->GetType());
        EXPECT_EQ(*a.GetElement(i).Validations(), *b.GetElement(i).Validations()) << i;
    }
    EXPECT_EQ(WriteFormTemplate(a), WriteFormTemplate(b));
}

TEST(FormTemplateBytes, FormWithoutElements) {
    CHtmlForm form;
    form.m_strName = "f";
    form.m_strAction = "a";
    form.m_nMethod = kMethodPost;
    form.m_bTableLayout = false;
    const std::string expected = kHeader +
                                 "\x01"
                                 "f" +
                                 "\x01"
                                 "a" +
                                 Dword(1) + Dword(0) + Bytes({0}) + Dword(0);
    EXPECT_EQ(WriteFormTemplate(form), expected);

    CHtmlForm loaded;
    loaded.m_strName = "other";
    ASSERT_EQ(ReadFormTemplate(expected, loaded), ETemplateRead::ok);
    ExpectSameForm(form, loaded);
    EXPECT_EQ(loaded.m_nMethod, kMethodPost);
    EXPECT_FALSE(loaded.m_bTableLayout);
}

TEST(FormTemplateBytes, ElementWithValidations) {
    CHtmlForm form;
    form.m_strName = "f";
    auto& text = AddElement<CTextData>(form, "t", "T");
    text.m_bPassword = true;
    text.m_Validations = {Val(kValMaxLength, "m", "", 40), DoubleVal(kValLessThan, "l", 2.5)};
    double bound = 2.5;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &bound, 8);
    std::string boundBytes;
    for (int i = 0; i < 8; ++i) {
        boundBytes += static_cast<char>(bits >> (8 * i) & 0xFF);
    }

    const std::string expected = kHeader +
                                 "\x01"
                                 "f" +
                                 Bytes({0}) + Dword(0) + Dword(1) + Bytes({0}) + Dword(1) +
                                 // element: name, caption, type, validation count
                                 "\x01"
                                 "t" +
                                 "\x01"
                                 "T" +
                                 Dword(0) + Dword(2) +
                                 // maximum length 40 in the first four bytes of the number
                                 Dword(7) + Bytes({0}) + Dword(40) + Dword(0) + Dword(0) +
                                 "\x01"
                                 "m" +
                                 // "less than" 2.5 as a double
                                 Dword(9) + Bytes({0}) + boundBytes + Dword(0) +
                                 "\x01"
                                 "l" +
                                 // value, size, password
                                 Bytes({0}) + Dword(10) + Dword(1);
    EXPECT_EQ(WriteFormTemplate(form), expected);
}

TEST(FormTemplateBytes, LengthPrefixes) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes({0})},
        {254, Bytes({254})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {300, Bytes({0xFF, 0x2C, 0x01})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF}) + Dword(65534)},
        {70000, Bytes({0xFF, 0xFF, 0xFF}) + Dword(70000)},
    };
    for (const Case& c : cases) {
        CHtmlForm form;
        form.m_strName = std::string(c.length, 'n');
        const std::string bytes = WriteFormTemplate(form);
        EXPECT_EQ(bytes.substr(kHeader.size(), c.prefix.size()), c.prefix) << c.length;
        CHtmlForm loaded;
        ASSERT_EQ(ReadFormTemplate(bytes, loaded), ETemplateRead::ok) << c.length;
        EXPECT_EQ(loaded.m_strName, form.m_strName) << c.length;
    }
}

TEST(FormTemplateFile, RoundTripOfEveryTypeAndKind) {
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form = MakeFullForm();
    form.m_strName = std::string(300, 'x');
    CFormTemplateFile file;
    file.SetPath(dir / "full.ft");
    form.m_bModified = true;
    ASSERT_TRUE(file.Save(form));
    EXPECT_FALSE(form.m_bModified);
    EXPECT_EQ(ReadFile(dir / "full.ft").substr(kHeader.size(), 3), Bytes({0xFF, 0x2C, 0x01}));

    CHtmlForm loaded;
    ASSERT_TRUE(file.LoadFile(dir / "full.ft", loaded));
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_TRUE(loaded.m_bModified);
    ExpectSameForm(form, loaded);

    // Spot checks of the type fields that the byte comparison also covers.
    const auto* list = dynamic_cast<const CListboxData*>(loaded.GetElement(10).GetData());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->m_Items.size(), 3u);
    EXPECT_EQ(list->m_Items[1], (SListItem{"Green", "2", true}));
    EXPECT_TRUE(list->m_bMultiple);
    const auto& qty = *loaded.GetElement(2).Validations();
    EXPECT_DOUBLE_EQ(qty[1].GetDouble(), 2.5);
    EXPECT_DOUBLE_EQ(qty[2].GetDouble(), -10.0);
    EXPECT_EQ(loaded.m_strCustomValidation, form.m_strCustomValidation);
    int kinds = 0;
    for (const CFormElement& element : loaded.m_Elements) {
        for (const CValidation& v : *element.Validations()) {
            kinds |= 1 << v.m_nKind;
        }
    }
    EXPECT_EQ(kinds, 0xFFFFE) << "every kind from 1 to 19";
}

TEST(FormTemplateFile, ValuesBeyondTheEditorsLimitsAreBroughtInAndReported) {
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form;
    AddElement<CTextData>(form, "name", "Name").m_nSize = 5000;
    auto& notes = AddElement<CMultilineData>(form, "notes", "Notes");
    notes.m_nRows = 0;
    notes.m_nColumns = 1024;  // at the limit: kept
    AddElement<CFileData>(form, "doc", "Doc").m_nSize = -3;
    AddElement<CListboxData>(form, "pick", "Pick").m_nVisibleRows = 1000;
    WriteFile(dir / "wide.ft", WriteFormTemplate(form));

    CFormTemplateFile file;
    CHtmlForm loaded;
    ASSERT_TRUE(file.LoadFile(dir / "wide.ft", loaded));
    EXPECT_EQ(dynamic_cast<CTextData&>(*loaded.GetElement(0).GetData()).m_nSize, 999);
    const auto& area = dynamic_cast<CMultilineData&>(*loaded.GetElement(1).GetData());
    EXPECT_EQ(area.m_nRows, 1);
    EXPECT_EQ(area.m_nColumns, 1024);
    EXPECT_EQ(dynamic_cast<CFileData&>(*loaded.GetElement(2).GetData()).m_nSize, 0);
    EXPECT_EQ(dynamic_cast<CListboxData&>(*loaded.GetElement(3).GetData()).m_nVisibleRows, 999);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].style, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(prompt.Records()[0].text,
              "Some values were outside the limits of the element editor and were changed:\n"
              "\nThe Textbox 'name': size 5000 changed to 999"
              "\nThe Multiline Text 'notes': rows 0 changed to 1"
              "\nThe File 'doc': size -3 changed to 0"
              "\nThe ListBox 'pick': visible rows 1000 changed to 999");
}

TEST(FormTemplateFile, IntegerNumberReadsOnlyTheFirstFourBytes) {
    CHtmlForm form;
    AddElement<CTextData>(form, "t", "T").m_Validations = {Val(kValMaxLength, "m", "", 40)};
    std::string bytes = WriteFormTemplate(form);
    // Garbage in the upper half of the number slot of the maximum length.
    const std::size_t slot = bytes.find(Dword(40));
    ASSERT_NE(slot, std::string::npos);
    bytes.replace(slot + 4, 4, Dword(0xDEADBEEF));
    CHtmlForm loaded;
    ASSERT_EQ(ReadFormTemplate(bytes, loaded), ETemplateRead::ok);
    EXPECT_EQ((*loaded.GetElement(0).Validations())[0].GetInt(), 40);
    EXPECT_EQ((*loaded.GetElement(0).Validations())[0].m_nNumber, 40u);

    // The writer puts zero in the upper half whatever the slot holds.
    (*form.GetElement(0).Validations())[0].m_nNumber = 0xDEADBEEF00000028u;
    EXPECT_NE(WriteFormTemplate(form).find(Dword(40) + Dword(0)), std::string::npos);
}

// A sample file with several types, for the refusals.
std::string SampleTemplate() {
    CHtmlForm form;
    form.m_strName = "sample";
    AddElement<CTextData>(form, "t", "T").m_Validations = {Val(kValRequired, "need t")};
    auto& list = AddElement<CListboxData>(form, "l", "L");
    list.m_Items = {{"a", "1", false}, {"b", "2", true}};
    list.m_Validations = {Val(kValDontSelect, "not b", "", 1)};
    AddElement<CRadioData>(form, "r", "R").m_strValue = "v";
    return WriteFormTemplate(form);
}

// The current form of the refusal tests, and what it must still be after.
CHtmlForm CurrentForm() {
    CHtmlForm form;
    form.m_strName = "current";
    form.m_strAction = "keep.cgi";
    AddElement<CCheckboxData>(form, "keep", "Keep").m_Validations = {Val(kValDontSelect, "k", "x")};
    form.m_bModified = false;
    return form;
}

TEST(FormTemplateFile, RefusedLoadsLeaveTheFormUnchanged) {
    CScratchDir dir;
    const std::string sample = SampleTemplate();
    std::string unknownType = sample;
    // The first element's type code follows its name "t" and caption "T".
    const std::size_t typeAt = unknownType.find("\x01t\x01T") + 4;
    unknownType.replace(typeAt, 4, Dword(8));
    std::string hugeCount = sample;
    hugeCount.replace(hugeCount.find("\x01t\x01T") - 4, 4, Dword(0xFFFFFFFF));

    struct Case {
        const char* label;
        std::string bytes;
        const char* message;  // null: "Exception Occured:" and a description
    };
    const Case cases[] = {
        {"wrong magic", "\x0DOND FRM TEMPX" + sample.substr(14), "Not a valid form template file!"},
        {"not a template at all", "<html></html>", "Not a valid form template file!"},
        {"empty file", "", "Not a valid form template file!"},
        {"version 1.1", kHeader.substr(0, 14) + Dword(1) + Dword(1) + sample.substr(22),
         "Un supported version"},
        {"version 2.0", kHeader.substr(0, 14) + Dword(2) + Dword(0) + sample.substr(22),
         "Un supported version"},
        {"unknown type code", unknownType, nullptr},
        {"element count beyond the file", hugeCount, nullptr},
        {"name longer than the file",
         kHeader + Bytes({0xFF, 0xFF, 0xFF}) + Dword(0xFFFFFFF0) + "abc", nullptr},
        {"wide-text marker", kHeader + Bytes({0xFF, 0xFE, 0xFF}) + "abc", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ondrelo::CScriptedPrompt prompt;
        WriteFile(dir / "bad.ft", c.bytes);
        CHtmlForm form = CurrentForm();
        const std::string before = WriteFormTemplate(form);
        CFormTemplateFile file;
        EXPECT_FALSE(file.LoadFile(dir / "bad.ft", form));
        EXPECT_EQ(WriteFormTemplate(form), before);
        EXPECT_FALSE(form.m_bModified);
        ASSERT_EQ(prompt.MessageTexts().size(), 1u);
        if (c.message) {
            EXPECT_EQ(prompt.MessageTexts()[0], c.message);
        } else {
            EXPECT_EQ(prompt.MessageTexts()[0].rfind("Exception Occured:", 0), 0u)
                << prompt.MessageTexts()[0];
        }
    }
}

TEST(FormTemplateFile, TruncatedAtEveryOffsetIsRefused) {
    CScratchDir dir;
    const std::string sample = SampleTemplate();
    CHtmlForm whole;
    ASSERT_EQ(ReadFormTemplate(sample, whole), ETemplateRead::ok);
    for (std::size_t length = 0; length < sample.size(); ++length) {
        ondrelo::CScriptedPrompt prompt;
        WriteFile(dir / "cut.ft", sample.substr(0, length));
        CHtmlForm form = CurrentForm();
        const std::string before = WriteFormTemplate(form);
        CFormTemplateFile file;
        ASSERT_FALSE(file.LoadFile(dir / "cut.ft", form)) << length;
        ASSERT_EQ(WriteFormTemplate(form), before) << length;
        ASSERT_EQ(prompt.MessageTexts().size(), 1u) << length;
    }
}

TEST(FormTemplateFile, ReaderNeverAllocatesMoreThanTheFileHolds) {
    const std::string bytes = Bytes({0xFF, 0xFF, 0xFF}) + Dword(0x7FFFFFFF) + "x";
    CTemplateReader reader(bytes, "t.ft");
    std::string value = "kept";
    try {
        reader.SerializeString(value);
        FAIL() << "no error";
    } catch (const ondrelo::CArchiveException& e) {
        EXPECT_EQ(e.Cause(), ondrelo::CArchiveException::endOfFile);
    }
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(reader.GetPosition(), 0u);
}

TEST(FormTemplateFile, SaveAsksForAPathOnce) {
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    prompt.AnswerFile(dir / "once.ft");
    CHtmlForm form = CurrentForm();
    CFormTemplateFile file;
    ASSERT_TRUE(file.Save(form));
    ASSERT_EQ(prompt.Records().size(), 1u);
    const auto& dialog = prompt.Records()[0].dialog;
    EXPECT_FALSE(dialog.open);
    EXPECT_EQ(dialog.defaultExt, "*.ft");
    EXPECT_EQ(dialog.filter, "Form Template Files(*.ft)|*.ft|All Files(*.*)|*.*||");
    EXPECT_TRUE(dialog.overwritePrompt);

    form.m_strAction = "second.cgi";
    ASSERT_TRUE(file.Save(form));
    EXPECT_EQ(prompt.Records().size(), 1u) << "no second dialog";
    EXPECT_EQ(ReadFile(dir / "once.ft"), WriteFormTemplate(form));

    // A cancelled dialog after the path was forgotten writes nothing.
    file.ClearPath();
    EXPECT_FALSE(file.Save(form));
    EXPECT_EQ(prompt.Records().size(), 2u);
}

TEST(FormTemplateFile, SaveFailureIsReported) {
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form = CurrentForm();
    form.m_bModified = true;
    CFormTemplateFile file;
    const std::string path = dir / "missing/dir/t.ft";
    file.SetPath(path);
    EXPECT_FALSE(file.Save(form));
    EXPECT_TRUE(form.m_bModified);
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0], "Failed Saving to the file:" + path +
                                            ".\nMake sure that the file is not write protected");
}

TEST(FormTemplateFile, SaveReplacesTheFileWhole) {
    CScratchDir dir;
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form = CurrentForm();
    const std::string old = SampleTemplate();
    WriteFile(dir / "real.ft", old);
    ::chmod((dir / "real.ft").c_str(), 0640);
    std::filesystem::create_symlink(dir / "real.ft", dir / "link.ft");
    CFormTemplateFile file;
    file.SetPath(dir / "link.ft");

    // A write that fails half-way (here: the file size limit) leaves the
    // old template whole and no stray file beside it.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved1 = file.Save(form);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved1);
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0].rfind("Exception Occured:", 0), 0u);
    EXPECT_EQ(ReadFile(dir / "real.ft"), old);
    int beside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(dir / "real.ft").parent_path())) {
        beside += entry.path().filename().string().rfind("real.ft", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(beside, 1);

    // A save that succeeds keeps the link, and the file its permissions.
    ASSERT_TRUE(file.Save(form));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ft"));
    EXPECT_EQ(ReadFile(dir / "real.ft"), WriteFormTemplate(form));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "real.ft").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(FormTemplateFile, LoadAsksBeforeDroppingElements) {
    CScratchDir dir;
    WriteFile(dir / "s.ft", SampleTemplate());
    CFormTemplateFile file;
    {
        // "No" to the question: no dialog, nothing changes.
        ondrelo::CScriptedPrompt prompt;
        prompt.AnswerMessage(IDNO);
        CHtmlForm form = CurrentForm();
        EXPECT_FALSE(file.Load(form));
        EXPECT_EQ(form.m_strName, "current");
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_EQ(prompt.Records()[0].style, MB_YESNO | MB_ICONQUESTION);
        EXPECT_EQ(prompt.Records()[0].text.rfind("If you load from template file", 0), 0u);
    }
    {
        ondrelo::CScriptedPrompt prompt;
        prompt.AnswerMessage(IDYES);
        prompt.AnswerFile(dir / "s.ft");
        CHtmlForm form = CurrentForm();
        ASSERT_TRUE(file.Load(form));
        EXPECT_EQ(form.m_strName, "sample");
        EXPECT_EQ(form.GetElementCount(), 3);
        EXPECT_TRUE(form.m_bModified);
        ASSERT_EQ(prompt.Records().size(), 2u);
        EXPECT_TRUE(prompt.Records()[1].dialog.open);
        EXPECT_TRUE(prompt.Records()[1].dialog.fileMustExist);
    }
    {
        // An empty form is replaced without a question.
        ondrelo::CScriptedPrompt prompt;
        prompt.AnswerFile(dir / "s.ft");
        CHtmlForm form;
        ASSERT_TRUE(file.Load(form));
        EXPECT_EQ(prompt.Records().size(), 1u);
    }
    {
        ondrelo::CScriptedPrompt prompt;
        CHtmlForm form;
        EXPECT_FALSE(file.LoadFile(dir / "absent.ft", form));
        ASSERT_EQ(prompt.MessageTexts().size(), 1u);
        EXPECT_EQ(prompt.MessageTexts()[0], "Failed Opening file:" + (dir / "absent.ft"));
    }
}

}  // namespace
