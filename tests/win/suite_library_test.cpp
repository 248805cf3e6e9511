// Loading the suite's transport library by absolute path.
#include "win/suite_library.h"

#include <gtest/gtest.h>

#include "harness/machine.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

std::wstring installedWbx() { return SuiteMachine::qxscanFolder() + L"\\WBX.DLL"; }

class SuiteLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { restrictDllSearchPath(); }
};

TEST_F(SuiteLibraryTest, ALibraryWithBothEntryPointsIsKept) {
    SuiteMachine::bare().transportLibrary(L"transport_full.dll");
    TransportLibrary library = loadTransportLibrary(installedWbx());
    ASSERT_TRUE(library.loaded());
    ASSERT_NE(library.sendWebdata3, nullptr);
    ASSERT_NE(library.sendWebdata2, nullptr);
    char reply[64] = {};
    EXPECT_EQ(library.sendWebdata3("h", "/p", "b", "a", 0, 1, 2, reply), 0);
    EXPECT_STREQ(reply, "SendWebdata3");
    EXPECT_EQ(library.sendWebdata2("h", "/p", "b", "a", reply), 0);
    EXPECT_STREQ(reply, "SendWebdata2");
    library.unload();
    EXPECT_EQ(GetModuleHandleW(installedWbx().c_str()), nullptr);
}

TEST_F(SuiteLibraryTest, ALibraryWithoutSendWebdata3IsUnloaded) {
    SuiteMachine::bare().transportLibrary(L"transport_without_sendwebdata3.dll");
    TransportLibrary library = loadTransportLibrary(installedWbx());
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.sendWebdata3, nullptr);
    EXPECT_EQ(library.sendWebdata2, nullptr);
    EXPECT_EQ(GetModuleHandleW(installedWbx().c_str()), nullptr);
}

TEST_F(SuiteLibraryTest, OnlyAnAbsolutePathLoads) {
    SuiteMachine::bare().transportLibrary(L"transport_full.dll");
    EXPECT_FALSE(loadTransportLibrary(SuiteMachine::qxscanFolder() + L"\\MISSING.DLL").loaded());
    // A relative path never searches the current folder or PATH, even with
    // the library right there.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(SuiteMachine::qxscanFolder().c_str());
    EXPECT_FALSE(loadTransportLibrary(L"WBX.DLL").loaded());
    EXPECT_FALSE(loadTransportLibrary(L"N/A\\WBX.DLL").loaded());
    SetCurrentDirectoryW(previous);
}

TEST_F(SuiteLibraryTest, ALibraryFindsItsOwnDependencyBesideIt) {
    SuiteMachine::bare()
        .qxscanFile(L"transport_with_dependency.dll", L"WBX.DLL")
        .qxscanFile(L"isolated\\dependency_helper.dll", L"dependency_helper.dll");
    TransportLibrary library = loadTransportLibrary(installedWbx());
    ASSERT_TRUE(library.loaded()) << "error " << GetLastError();
    char reply[64] = {};
    library.sendWebdata3("h", "/p", "b", "a", 0, 1, 2, reply);
    EXPECT_STREQ(reply, "dependency ok");
    library.unload();

    // Without its dependency the library cannot load at all.
    DeleteFileW((SuiteMachine::qxscanFolder() + L"\\dependency_helper.dll").c_str());
    EXPECT_FALSE(loadTransportLibrary(installedWbx()).loaded());
}

}  // namespace
}  // namespace tiqora
