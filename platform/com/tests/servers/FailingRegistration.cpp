// A server whose registration script is malformed: registration must fail
// with a status and write nothing.
#include "TestInterfaces.h"
#include "ondrelo/comserver.h"

namespace {

ondrelo::com::COndServerModule g_server({{comtest::CLSID_NotServed, nullptr,
                                          "HKCR\n{\n    Broken = s 'never closed\n}\n"}},
                                        {});

}  // namespace

ONDRELO_COM_SERVER_ENTRY_POINTS(g_server)
