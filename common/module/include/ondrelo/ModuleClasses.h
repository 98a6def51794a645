// Identifiers, display names, type libraries and registration scripts of
// every component class of the product. Each library compiles in the
// scripts of its own classes and registers them with %MODULE% set to its
// path; the host finds the modules through the entries under
// HKEY_LOCAL_MACHINE\SOFTWARE\Velmora\Ondrelo\Modules that they write.
#pragma once

#include "ondrelo/OndModule.h"
#include "ondrelo/regscript.h"

namespace ondrelo::modules {

using com::MakeGuid;

// Class identifiers.
inline constexpr CLSID CLSID_Popkinard = MakeGuid("{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}");
inline constexpr CLSID CLSID_CHoverkit = MakeGuid("{8144AC4A-4AFB-4135-B0DC-D3C3FAFB652A}");
inline constexpr CLSID CLSID_FormwardenWizard = MakeGuid("{EA7816DF-710E-411F-8871-8D0661874F64}");
inline constexpr CLSID CLSID_RoridaZiroZover = MakeGuid("{CDF5D19C-173F-4339-9AB7-0B2A61E1AC7B}");
inline constexpr CLSID CLSID_DudIzuvIzurido = MakeGuid("{C5DA6A58-AD92-4EA8-9807-F381670839BE}");
inline constexpr CLSID CLSID_CodeInsertUI = MakeGuid("{E9AC4199-58F0-4A01-8ACB-977F0C7716E3}");

// The further interface of each module class (no behaviour the host uses).
inline constexpr IID IID_IPopkinard = MakeGuid("{908FD5DF-A4AA-4E6D-8F0F-055EA50FDA77}");
inline constexpr IID IID_ICHoverkit = MakeGuid("{42DE9C32-EC50-4C15-9C6B-797C349B60F5}");
inline constexpr IID IID_IFormwardenWizard = MakeGuid("{4F997F70-06C8-4547-994B-83FF13A953F2}");
inline constexpr IID IID_IDudIzuvIzurido = MakeGuid("{B99B8BC3-B5A1-41D5-BD23-2C0075FA8047}");
inline constexpr IID IID_IRoridaZiroZover = MakeGuid("{EE0B6BA9-557F-4E00-AD85-5952770A6050}");

// The insertion component's interfaces.
inline constexpr IID IID_ICodeInsertUI = MakeGuid("{74C8B86A-3EC1-4315-AD3B-569C55841C03}");
inline constexpr IID IID_ICIWEventHandler2 = MakeGuid("{20066FE4-821A-4F56-9F97-634A2E863BA6}");

// Library identifiers.
inline constexpr GUID LIBID_Popkin = MakeGuid("{74795EB6-34E4-4D98-A6F2-1EF12F3C9D6F}");
inline constexpr GUID LIBID_Hoverkit = MakeGuid("{02BF1908-15B5-497F-82B6-E7C5BC6ACE98}");
inline constexpr GUID LIBID_Formwarden = MakeGuid("{E55A673B-1CEB-472C-B29F-30F61508C724}");
inline constexpr GUID LIBID_Smallset = MakeGuid("{F63DB73C-D5BD-43EC-87BF-B5D117C36662}");
inline constexpr GUID LIBID_Inslet = MakeGuid("{3626C8F3-87E6-4B53-992F-E9B6AABB005E}");

// `IPopkinard`: GetWizard stores a null pointer and returns S_OK.
struct IPopkinard : IUnknown {
    virtual HRESULT GetWizard(IUnknown** punknown) = 0;

protected:
    ~IPopkinard() = default;
};
// Automation interfaces without members.
struct ICHoverkit : IDispatch {
protected:
    ~ICHoverkit() = default;
};
struct IFormwardenWizard : IDispatch {
protected:
    ~IFormwardenWizard() = default;
};
struct IDudIzuvIzurido : IDispatch {
protected:
    ~IDudIzuvIzurido() = default;
};
// A plain interface without members.
struct IRoridaZiroZover : IUnknown {
protected:
    ~IRoridaZiroZover() = default;
};

// Type libraries (registered as TypeLib\{libid}\1.0 with the help text).
inline const com::STypeLibInfo kPopkinTypeLib{LIBID_Popkin, 1, 0, "Popkin 1.0 Type Library"};
inline const com::STypeLibInfo kHoverkitTypeLib{LIBID_Hoverkit, 1, 0, "Hoverkit 1.0 Type Library"};
inline const com::STypeLibInfo kFormwardenTypeLib{LIBID_Formwarden, 1, 0,
                                                  "Formwarden 1.0 Type Library"};
inline const com::STypeLibInfo kSmallsetTypeLib{LIBID_Smallset, 1, 0, "Smallset 1.0 Type Library"};
inline const com::STypeLibInfo kInsletTypeLib{LIBID_Inslet, 1, 0, "Inslet 1.0 Type Library"};

// Registration scripts, one per class.
inline constexpr const char kPopkinardScript[] = R"rgs(HKCR
{
    Popkin.Popkinard.1 = s 'Popkinard Class'
    {
        CLSID = s '{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}'
    }
    Popkin.Popkinard = s 'Popkinard Class'
    {
        CLSID = s '{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}'
    }
    NoRemove CLSID
    {
        ForceRemove {CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57} = s 'Popkinard Class'
        {
            ProgID = s 'Popkin.Popkinard.1'
            VersionIndependentProgID = s 'Popkin.Popkinard'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'both'
            }
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Velmora
        {
            NoRemove Ondrelo
            {
                NoRemove Modules
                {
                    ForceRemove Popkinard
                    {
                        val Type = d 0
                        val CLSID = s '{CC45ADA4-C5F8-4C98-BED8-ED14A2D83D57}'
                    }
                }
            }
        }
    }
}
)rgs";
inline constexpr const char kCHoverkitScript[] = R"rgs(HKCR
{
    Hoverkit.CHoverkit.1 = s 'CHoverkit Class'
    {
        CLSID = s '{8144AC4A-4AFB-4135-B0DC-D3C3FAFB652A}'
    }
    Hoverkit.CHoverkit = s 'CHoverkit Class'
    {
        CLSID = s '{8144AC4A-4AFB-4135-B0DC-D3C3FAFB652A}'
        CurVer = s 'Hoverkit.CHoverkit.1'
    }
    NoRemove CLSID
    {
        ForceRemove {8144AC4A-4AFB-4135-B0DC-D3C3FAFB652A} = s 'CHoverkit Class'
        {
            ProgID = s 'Hoverkit.CHoverkit.1'
            VersionIndependentProgID = s 'Hoverkit.CHoverkit'
            ForceRemove Programmable
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            TypeLib = s '{02BF1908-15B5-497F-82B6-E7C5BC6ACE98}'
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Velmora
        {
            NoRemove Ondrelo
            {
                NoRemove Modules
                {
                    ForceRemove MouseOverButtonWizard
                    {
                        val Type = d 0
                        val CLSID = s '{8144AC4A-4AFB-4135-B0DC-D3C3FAFB652A}'
                    }
                }
            }
        }
    }
}
)rgs";
inline constexpr const char kFormwardenWizardScript[] = R"rgs(HKCR
{
    Formwarden.FormwardenWizard.1 = s 'FormwardenWizard Class'
    {
        CLSID = s '{EA7816DF-710E-411F-8871-8D0661874F64}'
    }
    Formwarden.FormwardenWizard = s 'FormwardenWizard Class'
    {
        CLSID = s '{EA7816DF-710E-411F-8871-8D0661874F64}'
        CurVer = s 'Formwarden.FormwardenWizard.1'
    }
    NoRemove CLSID
    {
        ForceRemove {EA7816DF-710E-411F-8871-8D0661874F64} = s 'FormwardenWizard Class'
        {
            ProgID = s 'Formwarden.FormwardenWizard.1'
            VersionIndependentProgID = s 'Formwarden.FormwardenWizard'
            ForceRemove Programmable
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            TypeLib = s '{E55A673B-1CEB-472C-B29F-30F61508C724}'
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Velmora
        {
            NoRemove Ondrelo
            {
                NoRemove Modules
                {
                    ForceRemove Formwarden
                    {
                        val Type = d 0
                        val CLSID = s '{EA7816DF-710E-411F-8871-8D0661874F64}'
                    }
                }
            }
        }
    }
}
)rgs";
inline constexpr const char kRoridaZiroZoverScript[] = R"rgs(HKCR
{
    Smallset.RoridaZiroZover.1 = s 'RoridaZiroZover Class'
    {
        CLSID = s '{CDF5D19C-173F-4339-9AB7-0B2A61E1AC7B}'
    }
    Smallset.RoridaZiroZover = s 'RoridaZiroZover Class'
    {
        CLSID = s '{CDF5D19C-173F-4339-9AB7-0B2A61E1AC7B}'
        CurVer = s 'Smallset.RoridaZiroZover.1'
    }
    NoRemove CLSID
    {
        ForceRemove {CDF5D19C-173F-4339-9AB7-0B2A61E1AC7B} = s 'RoridaZiroZover Class'
        {
            ProgID = s 'Smallset.RoridaZiroZover.1'
            VersionIndependentProgID = s 'Smallset.RoridaZiroZover'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            TypeLib = s '{F63DB73C-D5BD-43EC-87BF-B5D117C36662}'
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Velmora
        {
            NoRemove Ondrelo
            {
                NoRemove Modules
                {
                    NoRemove Smallset
                    {
                        val Type = d 1
                        ForceRemove RoridaZiroZover
                        {
                            val Type = d 0
                            val CLSID = s '{CDF5D19C-173F-4339-9AB7-0B2A61E1AC7B}'
                        }
                    }
                }
            }
        }
    }
}
)rgs";
inline constexpr const char kDudIzuvIzuridoScript[] = R"rgs(HKCR
{
    Smallset.DudIzuvIzurido.1 = s 'DudIzuvIzurido Class'
    {
        CLSID = s '{C5DA6A58-AD92-4EA8-9807-F381670839BE}'
    }
    Smallset.DudIzuvIzurido = s 'DudIzuvIzurido Class'
    {
        CLSID = s '{C5DA6A58-AD92-4EA8-9807-F381670839BE}'
        CurVer = s 'Smallset.DudIzuvIzurido.1'
    }
    NoRemove CLSID
    {
        ForceRemove {C5DA6A58-AD92-4EA8-9807-F381670839BE} = s 'DudIzuvIzurido Class'
        {
            ProgID = s 'Smallset.DudIzuvIzurido.1'
            VersionIndependentProgID = s 'Smallset.DudIzuvIzurido'
            ForceRemove Programmable
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            TypeLib = s '{F63DB73C-D5BD-43EC-87BF-B5D117C36662}'
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove SOFTWARE
    {
        NoRemove Velmora
        {
            NoRemove Ondrelo
            {
                NoRemove Modules
                {
                    NoRemove Smallset
                    {
                        val Type = d 1
                        ForceRemove VivadirivAradErevazo
                        {
                            val Type = d 0
                            val CLSID = s '{C5DA6A58-AD92-4EA8-9807-F381670839BE}'
                        }
                    }
                }
            }
        }
    }
}
)rgs";
inline constexpr const char kCodeInsertUIScript[] = R"rgs(HKCR
{
    Inslet.CodeInsertUI.1 = s 'CodeInsertUI Class'
    {
        CLSID = s '{E9AC4199-58F0-4A01-8ACB-977F0C7716E3}'
    }
    Inslet.CodeInsertUI = s 'CodeInsertUI Class'
    {
        CLSID = s '{E9AC4199-58F0-4A01-8ACB-977F0C7716E3}'
        CurVer = s 'Inslet.CodeInsertUI.1'
    }
    NoRemove CLSID
    {
        ForceRemove {E9AC4199-58F0-4A01-8ACB-977F0C7716E3} = s 'CodeInsertUI Class'
        {
            ProgID = s 'Inslet.CodeInsertUI.1'
            VersionIndependentProgID = s 'Inslet.CodeInsertUI'
            InprocServer32 = s '%MODULE%'
            TypeLib = s '{3626C8F3-87E6-4B53-992F-E9B6AABB005E}'
        }
    }
}
)rgs";

// The module classes as the store lists them.
struct SModuleClassInfo {
    const char* library;    // "Popkin"
    const char* className;  // "Popkinard"
    CLSID clsid;
    const char* displayName;  // what GetProperties returns
    const char* moduleKey;    // key under Modules
    const char* group;        // group key under Modules, or null
    const char* script;
};

inline constexpr SModuleClassInfo kModuleClasses[] = {
    {"Popkin", "Popkinard", CLSID_Popkinard, "Popup Wizard", "Popkinard", nullptr,
     kPopkinardScript},
    {"Hoverkit", "CHoverkit", CLSID_CHoverkit, "VozizEvev Uduved Ududor", "MouseOverButtonWizard",
     nullptr, kCHoverkitScript},
    {"Formwarden", "FormwardenWizard", CLSID_FormwardenWizard, "HTML Form Wizard", "Formwarden",
     nullptr, kFormwardenWizardScript},
    {"Smallset", "RoridaZiroZover", CLSID_RoridaZiroZover, "Rorida Ziro Zover", "RoridaZiroZover",
     "Smallset", kRoridaZiroZoverScript},
    {"Smallset", "DudIzuvIzurido", CLSID_DudIzuvIzurido, "Rarededeva Razo Revizav",
     "VivadirivAradErevazo", "Smallset", kDudIzuvIzuridoScript},
};

}  // namespace ondrelo::modules
