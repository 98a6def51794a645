#include "ondrelo/Resources.h"

namespace ondrelo {

namespace {

const StringTable kCommonStrings = {
    {202, "The file was modified by some other program."},
    {203, "The file was modified outside Ondrelo"},
    {204, "The Html file is not formatted correctly"},
};

const SModuleResources kCommonResources{"Common", &kCommonStrings, ":/Common"};

// Lookups happen on the user-interface thread; the scope stack is per
// thread so that a stray worker cannot disturb it.
thread_local const SModuleResources* t_current = nullptr;

bool Find(const SModuleResources* module, unsigned id, std::string& text) {
    if (!module || !module->strings) {
        return false;
    }
    auto it = module->strings->find(id);
    if (it == module->strings->end()) {
        return false;
    }
    text = it->second;
    return true;
}

}  // namespace

CModuleResourceScope::CModuleResourceScope(const SModuleResources* module) : m_previous(t_current) {
    t_current = module;
}

CModuleResourceScope::~CModuleResourceScope() {
    t_current = m_previous;
}

const SModuleResources* CurrentModuleResources() {
    return t_current;
}

const SModuleResources& CommonResources() {
    return kCommonResources;
}

bool LoadResString(unsigned id, std::string& text) {
    return Find(t_current, id, text) || Find(&kCommonResources, id, text);
}

std::string ResString(unsigned id) {
    std::string text;
    LoadResString(id, text);
    return text;
}

}  // namespace ondrelo
