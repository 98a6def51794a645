// Error objects: COndException, thrown as a pointer to a heap object by
// Common and the wizards, and the file and archive errors raised by file
// operations (thrown by value).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "ondrelo/commoncore_export.h"

class ONDCORE_EXPORT COndException {
public:
    COndException();
    COndException(const COndException&) = default;
    COndException& operator=(const COndException&) = default;
    virtual ~COndException();

    // Sets the code and the text with the given number (module table first).
    void SetError(unsigned textId, std::uint32_t code);
    void SetError(const std::string& text, std::uint32_t code);
    const std::string& GetErrorString() const { return m_strError; }
    std::uint32_t GetErrorCode() const { return m_nCode; }
    // Shows "Error %d: %s" with CCommon::ShowErrorMessage.
    void ReportError() const;

    // Create a new object on the heap, fill it and throw the pointer. The
    // catcher reports and deletes it.
    static void ThrowOndException(unsigned textId, std::uint32_t code);
    static void ThrowOndException(const std::string& text, std::uint32_t code);

private:
    std::string m_strError;
    std::uint32_t m_nCode = 0;
};

namespace ondrelo {

// A file could not be opened, read or written.
class ONDCORE_EXPORT CFileException : public std::runtime_error {
public:
    enum ECause { generic, fileNotFound, accessDenied, diskFull, endOfFile, badPath };
    CFileException(ECause cause, std::string path, int osError, const std::string& what);
    ~CFileException() override;
    ECause Cause() const { return m_cause; }
    const std::string& Path() const { return m_path; }
    int OsError() const { return m_osError; }
    // Builds the error for a failed system call from errno.
    static CFileException FromErrno(int err, const std::string& path, const std::string& action);

private:
    ECause m_cause;
    std::string m_path;
    int m_osError;
};

// A stored file (such as a form template) is not in the expected format.
class ONDCORE_EXPORT CArchiveException : public std::runtime_error {
public:
    enum ECause { generic, badSchema, endOfFile, badClass };
    CArchiveException(ECause cause, std::string path, const std::string& what);
    ~CArchiveException() override;
    ECause Cause() const { return m_cause; }
    const std::string& Path() const { return m_path; }

private:
    ECause m_cause;
    std::string m_path;
};

}  // namespace ondrelo
