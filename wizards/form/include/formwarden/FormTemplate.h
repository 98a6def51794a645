// Form template files (.ft): a whole form design in a little-endian binary
// archive, and the save and load operations of the wizard with their
// dialogs and messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formwarden/FormModel.h"
#include "ondrelo/Window.h"

namespace formwarden {

inline constexpr const char* kTemplateMagic = "OND FRM TEMPL";
inline constexpr std::uint32_t kTemplateMajorVersion = 1;
inline constexpr std::uint32_t kTemplateMinorVersion = 0;
inline constexpr const char* kTemplateFilter =
    "Form Template Files(*.ft)|*.ft|All Files(*.*)|*.*||";
inline constexpr const char* kTemplateDefaultExt = "*.ft";
// Settings value naming the folder the open dialog starts in.
inline constexpr const char* kTemplateFolderSetting = "formtemplpath";

// Writes the fields into a byte buffer.
class CTemplateWriter : public IFormArchive {
public:
    bool IsStoring() const override { return true; }
    void SerializeDword(std::uint32_t& value) override;
    void SerializeQword(std::uint64_t& value) override;
    void SerializeString(std::string& value) override;

    const std::string& GetBytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Reads the fields from a byte buffer. Reading past the end, or a length
// prefix larger than what is left, raises ondrelo::CArchiveException.
class CTemplateReader : public IFormArchive {
public:
    CTemplateReader(const std::string& bytes, std::string path)
        : m_bytes(bytes), m_path(std::move(path)) {}

    bool IsStoring() const override { return false; }
    void SerializeDword(std::uint32_t& value) override;
    void SerializeQword(std::uint64_t& value) override;
    void SerializeString(std::string& value) override;

    // Reads a string as SerializeString does; false (position unchanged)
    // when the buffer cannot hold it.
    bool TryReadString(std::string& value);
    std::size_t GetPosition() const { return m_pos; }
    std::size_t GetRemaining() const { return m_bytes.size() - m_pos; }

private:
    const unsigned char* Take(std::size_t count, const char* what);

    const std::string& m_bytes;
    std::string m_path;
    std::size_t m_pos = 0;
};

// The bytes of a template file holding the form.
std::string WriteFormTemplate(CHtmlForm& form);

enum class ETemplateRead { ok, notTemplate, unsupportedVersion };
// Reads a template's bytes into `form`, which the caller passes fresh: on
// any failure it holds a partial form and must be thrown away. A malformed
// or truncated body raises ondrelo::CArchiveException.
ETemplateRead ReadFormTemplate(const std::string& bytes, CHtmlForm& form,
                               const std::string& path = {});

// The wizard's template operations and the remembered template path.
class CFormTemplateFile {
public:
    // Writes the form to the remembered path, asking for one (save dialog)
    // the first time. Marks the form not modified. Every failure is
    // reported to the user; returns true when the file was written.
    bool Save(CHtmlForm& form, HWND owner = nullptr);

    // Asks before dropping existing elements, asks for the file, and
    // replaces `form` with the one in it only when the whole file was read;
    // on any failure `form` is left exactly as it was. Marks a loaded form
    // modified; numbers beyond the element editor's limits are brought into
    // range and reported. Returns true when the form was replaced.
    bool Load(CHtmlForm& form, HWND owner = nullptr);
    // The same without the question and the dialog.
    bool LoadFile(const std::string& path, CHtmlForm& form);

    const std::string& GetPath() const { return m_strPath; }
    void SetPath(const std::string& path) { m_strPath = path; }
    // Forgets the remembered path (the wizard's data are cleared).
    void ClearPath() { m_strPath.clear(); }

private:
    bool WriteFile(const std::string& path, CHtmlForm& form);

    std::string m_strPath;
};

}  // namespace formwarden
