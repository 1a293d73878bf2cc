// Entry of the in-process dialog tests: an application object set up as the program's entry
// would (resources, application name), then GoogleTest.
#include "CWinApp.h"

#include <gtest/gtest.h>

namespace {

class InProcessApp : public CWinApp {};

InProcessApp g_app;

}  // namespace

int main(int argc, char** argv)
{
    ::AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
