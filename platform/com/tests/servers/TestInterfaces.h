// Identifiers and interfaces shared by the component tests and their test
// server libraries.
#pragma once

#include "ondrelo/com.h"

namespace comtest {

using ondrelo::com::MakeGuid;

inline constexpr CLSID CLSID_Counter = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A0000000001}");
inline constexpr CLSID CLSID_Throwing = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A0000000002}");
// Registered by tests, never served by any library.
inline constexpr CLSID CLSID_NotServed = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A0000000003}");
inline constexpr GUID LIBID_TestServer = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A00000000FF}");

inline constexpr IID IID_ICounter = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A0000000010}");
inline constexpr IID IID_INeverGiven = MakeGuid("{6F1B0C2A-8E11-4A5B-9C3D-5A0000000011}");

struct ICounter : IUnknown {
    virtual HRESULT Increment(long* value) = 0;

protected:
    ~ICounter() = default;
};

}  // namespace comtest
