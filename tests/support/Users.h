// The users of the tests of files and folders that another user owns. The
// tests pass for any user: root, an ordinary user, one without a name in
// the user database. Only root can give a file to another user, so a row
// that needs one is left out for any other user, with its reason, and the
// rows after it still run.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "platform/util/IOMgmtInternal.h"

namespace testsupport {

// A user as the outputs' messages name it: the name in the user database,
// else "user N".
inline std::string userName(uid_t uid) { return IOMgmt::detail::userName(uid); }

// The user this run writes as.
inline std::string thisUser() { return userName(::geteuid()); }

// Whether the row (named as its trace names it), which needs a file or
// folder of another user, is left out: only root can make one. A row left
// out is noted with that reason in the test's output and in its XML report.
inline bool leftOutUnlessRoot(const std::string& row) {
    if (::geteuid() == 0) return false;
    static int leftOut = 0;
    const std::string note = "left out, as only root can give a file or folder to another user: " + row;
    ::testing::Test::RecordProperty("left_out_" + std::to_string(++leftOut), note);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::cout << "note: " << test->test_suite_name() << "." << test->name() << ": " << note << std::endl;
    return true;
}

}  // namespace testsupport
