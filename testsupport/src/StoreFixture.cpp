#include "ondrelo/testsupport/StoreFixture.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace ondrelo::registry::testing {

void StoreTest::SetUp() {
    m_scratch = std::make_unique<ondrelo::test::CScratchDir>(false);
    m_dir = m_scratch->str();
    m_store = m_dir + "/store.db";
    UseStore(m_store);
}

void StoreTest::TearDown() {
    m_scratch.reset();
    unsetenv("ONDRELO_REGISTRY");
}

void StoreTest::UseStore(const std::string& path) {
    setenv("ONDRELO_REGISTRY", path.c_str(), 1);
}

bool StoreTest::KeyExists(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

std::string StoreTest::Default(HKEY root, const std::string& key) {
    std::string value;
    return ReadString(root, key, "", value) ? value : "<missing>";
}

std::string StoreTest::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = (Dir() / name).string();
    ondrelo::test::WriteFile(path, bytes);
    return path;
}

bool StoreTest::Number(HKEY root, const std::string& key, const char* name, DWORD& value) {
    return ReadNumber(root, key, name, value);
}

std::vector<long> RunInChild(const std::function<std::vector<long>()>& body, bool unprivileged) {
    int fds[2];
    if (pipe(fds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (unprivileged && geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            uid_t uid = nobody ? nobody->pw_uid : 65534;
            gid_t gid = nobody ? nobody->pw_gid : 65534;
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
                _exit(90);
            }
        }
        std::ostringstream out;
        for (long value : body()) {
            out << value << ' ';
        }
        std::string text = out.str();
        ssize_t written = write(fds[1], text.data(), text.size());
        _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 91);
    }
    close(fds[1]);
    std::string text;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(fds[0], buffer, sizeof(buffer))) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "child ended with status " << status;
    std::vector<long> values;
    std::istringstream in(text);
    for (long value = 0; in >> value;) {
        values.push_back(value);
    }
    return values;
}

LONG SetString(HKEY root, const char* key, const char* name, const std::string& value) {
    HKEY handle = nullptr;
    LONG status =
        RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return status;
}

LONG QueryString(HKEY key, const char* name, std::string& value) {
    char buffer[1024];
    DWORD size = sizeof(buffer);
    DWORD type = REG_NONE;
    LONG status =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status == ERROR_SUCCESS) {
        EXPECT_EQ(type, REG_SZ);
        value.assign(buffer, size - 1);
    }
    return status;
}

}  // namespace ondrelo::registry::testing
