// Test runner of the in-process Win32 tests: Winsock and the platform's code
// page are set up as the program's start-up sets them.
#include <gtest/gtest.h>

#include "base/win_codepage.h"
#include "session/win_transport.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!startWinsock()) {
        fprintf(stderr, "Winsock 1.1 is not available\n");
        return 1;
    }
    static WinCodePage conversion;
    conversion.codePage = chooseConversionCodePage();
    setConversionText(&conversion);
    int rc = RUN_ALL_TESTS();
    stopWinsock();
    return rc;
}
