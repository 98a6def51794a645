#include "formwarden/FormTemplate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "Text.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "ondrelo/AtomicFile.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"

namespace formwarden {

using ondrelo::CArchiveException;
using ondrelo::CFileException;

// ---- writer ----

void CTemplateWriter::SerializeDword(std::uint32_t& value) {
    for (int i = 0; i < 4; ++i) {
        m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void CTemplateWriter::SerializeQword(std::uint64_t& value) {
    for (int i = 0; i < 8; ++i) {
        m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void CTemplateWriter::SerializeString(std::string& value) {
    const std::size_t length = value.size();
    if (length < 0xFF) {
        m_bytes += static_cast<char>(length);
    } else if (length < 0xFFFE) {
        m_bytes += '\xFF';
        m_bytes += static_cast<char>(length & 0xFF);
        m_bytes += static_cast<char>((length >> 8) & 0xFF);
    } else {
        m_bytes += "\xFF\xFF\xFF";
        std::uint32_t length32 = static_cast<std::uint32_t>(length);
        SerializeDword(length32);
    }
    m_bytes += value;
}

// ---- reader ----

const unsigned char* CTemplateReader::Take(std::size_t count, const char* what) {
    if (count > GetRemaining()) {
        std::ostringstream text;
        text << "The file " << m_path << " ends before " << what << " at byte " << m_pos << " ("
             << count << " bytes needed, " << GetRemaining() << " left).";
        throw CArchiveException(CArchiveException::endOfFile, m_path, text.str());
    }
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_pos;
    m_pos += count;
    return p;
}

void CTemplateReader::SerializeDword(std::uint32_t& value) {
    const unsigned char* p = Take(4, "a number");
    value = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void CTemplateReader::SerializeQword(std::uint64_t& value) {
    const unsigned char* p = Take(8, "a number");
    value = 0;
    for (int i = 7; i >= 0; --i) {
        value = value << 8 | p[i];
    }
}

void CTemplateReader::SerializeString(std::string& value) {
    const std::size_t start = m_pos;
    std::size_t length = *Take(1, "a text");
    if (length == 0xFF) {
        const unsigned char* p = Take(2, "a text length");
        length = p[0] | static_cast<std::size_t>(p[1]) << 8;
        if (length == 0xFFFF) {
            std::uint32_t length32 = 0;
            SerializeDword(length32);
            length = length32;
        } else if (length == 0xFFFE) {
            // A marker of a wide-character text, which this format never holds.
            m_pos = start;
            throw CArchiveException(CArchiveException::badSchema, m_path,
                                    "The file " + m_path +
                                        " holds an unknown kind of text at byte " +
                                        std::to_string(start) + ".");
        }
    }
    // Checked before anything is allocated: a corrupt prefix cannot ask for
    // more than the file holds.
    if (length > GetRemaining()) {
        const std::size_t left = GetRemaining();
        m_pos = start;
        throw CArchiveException(CArchiveException::endOfFile, m_path,
                                "The file " + m_path + " ends inside a text of " +
                                    std::to_string(length) + " characters at byte " +
                                    std::to_string(start) + " (" + std::to_string(left) +
                                    " bytes left).");
    }
    value.assign(m_bytes, m_pos, length);
    m_pos += length;
}

bool CTemplateReader::TryReadString(std::string& value) {
    const std::size_t start = m_pos;
    try {
        SerializeString(value);
        return true;
    } catch (const CArchiveException&) {
        m_pos = start;
        return false;
    }
}

// ---- whole files ----

std::string WriteFormTemplate(CHtmlForm& form) {
    CTemplateWriter writer;
    std::string magic = kTemplateMagic;
    std::uint32_t major = kTemplateMajorVersion;
    std::uint32_t minor = kTemplateMinorVersion;
    writer.SerializeString(magic);
    writer.SerializeDword(major);
    writer.SerializeDword(minor);
    form.Serialize(writer);
    return writer.GetBytes();
}

ETemplateRead ReadFormTemplate(const std::string& bytes, CHtmlForm& form, const std::string& path) {
    CTemplateReader reader(bytes, path);
    std::string magic;
    if (!reader.TryReadString(magic) || magic != kTemplateMagic) {
        return ETemplateRead::notTemplate;
    }
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    reader.SerializeDword(major);
    reader.SerializeDword(minor);
    if (major != kTemplateMajorVersion || minor != kTemplateMinorVersion) {
        return ETemplateRead::unsupportedVersion;
    }
    form.Serialize(reader);
    return ETemplateRead::ok;
}

// ---- wizard operations ----

namespace {

// Reports what a template operation raised, in the four classes of report.
template <class Operation>
bool Reported(Operation operation) {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        FormErrorMessage("Too Low memory");
    } catch (const CFileException& e) {
        FormErrorMessage(std::string("Exception Occured:") + e.what());
    } catch (const CArchiveException& e) {
        FormErrorMessage(std::string("Exception Occured:") + e.what());
    } catch (COndException* e) {
        e->ReportError();
        delete e;
    } catch (...) {
        FormErrorMessage("Unknown Exception caught");
    }
    return false;
}

std::string FileFormat(unsigned id, const std::string& path) {
    return text::ReplaceAll(FormString(id), "%s", path);
}

}  // namespace

bool CFormTemplateFile::WriteFile(const std::string& path, CHtmlForm& form) {
    // The whole file is built first, so that nothing is truncated when the
    // form cannot be written out.
    const std::string bytes = WriteFormTemplate(form);

    // A file that may not be written is refused as when opening it for
    // writing fails; it is not replaced behind its protection.
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && (S_ISDIR(info.st_mode) || ::access(path.c_str(), W_OK) != 0)) {
        FormErrorMessage(FileFormat(IDS_SAVE_FILE_FAILED, path));
        return false;
    }

    // A write that fails half-way (a full disk) leaves the old template
    // whole; a link keeps pointing at the template. A file that cannot be
    // made at all (no such folder, no rights) gets the same refusal as above.
    try {
        ondrelo::ReplaceFileAtomically(path, bytes);
    } catch (const CFileException& e) {
        if (e.Cause() != CFileException::fileNotFound &&
            e.Cause() != CFileException::accessDenied) {
            throw;
        }
        FormErrorMessage(FileFormat(IDS_SAVE_FILE_FAILED, path));
        return false;
    }
    return true;
}

bool CFormTemplateFile::Save(CHtmlForm& form, HWND owner) {
    return Reported([&] {
        if (m_strPath.empty()) {
            ondrelo::SFileDialogSpec request;
            request.open = false;
            request.owner = owner;
            request.defaultExt = kTemplateDefaultExt;
            request.filter = kTemplateFilter;
            request.overwritePrompt = true;
            std::string chosen;
            if (!ondrelo::Prompt().FileDialog(request, chosen)) {
                return false;
            }
            m_strPath = chosen;
        }
        if (!WriteFile(m_strPath, form)) {
            return false;
        }
        form.m_bModified = false;
        return true;
    });
}

bool CFormTemplateFile::Load(CHtmlForm& form, HWND owner) {
    return Reported([&] {
        std::string folder;
        COndRegistryHandler::GetSettingsValue(kTemplateFolderSetting, folder);
        if (form.GetElementCount() > 0 &&
            FormMessageBox(FormString(IDS_LOAD_TEMPLATE_LOSES_DATA), MB_YESNO | MB_ICONQUESTION,
                           owner) != IDYES) {
            return false;
        }
        ondrelo::SFileDialogSpec request;
        request.open = true;
        request.owner = owner;
        request.defaultExt = kTemplateDefaultExt;
        request.filter = kTemplateFilter;
        request.fileMustExist = true;
        request.initialDir = folder;
        std::string path;
        if (!ondrelo::Prompt().FileDialog(request, path)) {
            return false;
        }
        return LoadFile(path, form);
    });
}

bool CFormTemplateFile::LoadFile(const std::string& path, CHtmlForm& form) {
    return Reported([&] {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            FormErrorMessage(FileFormat(IDS_OPEN_FILE_FAILED, path));
            return false;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (in.bad()) {
            throw CFileException::FromErrno(errno, path, "reading");
        }

        // Read into a form of its own: the current one is replaced only
        // when the whole file was read.
        CHtmlForm loaded;
        switch (ReadFormTemplate(bytes, loaded, path)) {
            case ETemplateRead::notTemplate:
                FormErrorMessage("Not a valid form template file!");
                return false;
            case ETemplateRead::unsupportedVersion:
                FormErrorMessage("Un supported version");
                return false;
            case ETemplateRead::ok:
                break;
        }
        loaded.m_bModified = true;
        const std::string report = EditorLimitsReport(ClampToEditorLimits(loaded));
        form = std::move(loaded);
        if (!report.empty()) {
            FormMessageBox(report, MB_OK | MB_ICONINFORMATION);
        }
        return true;
    });
}

}  // namespace formwarden
