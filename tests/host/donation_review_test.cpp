// The education and rural hospital expense credits warn when the donation is
// claimed with both required boxes marked while the federal return answers
// its question yes and the box of the donation added back stays empty. The
// federal answer and the third box are entered as boxes ("X") in a return
// file; the review reads them so.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "tests/host/form_reach.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"

namespace {

using DonationReview = testsupport::ScratchDirTest;

TEST_F(DonationReview, WarnsOnlyWhenTheFederalAnswerIsYesAndBothBoxesAreMarked) {
    const std::string warning = "you need to add your donation back to your income";
    const std::string yes = "<FORM DEVNAME=\"F1\" COPY=\"1\"><FIELD><ID>133</ID><VALUE>X</VALUE></FIELD></FORM>";
    for (const auto& [form, thirdBox] : {std::pair{"GA187981", "188374"}, {"GA203638", "203656"}}) {
        const std::string copy1 = std::string("<FORM DEVNAME=\"") + form + "\" COPY=\"1\">";
        const std::string third = std::string("<FIELD><ID>") + thirdBox + "</ID><VALUE>X</VALUE></FIELD>";
        for (const auto& [answeredYes, thirdMarked, warns] :
             {std::tuple{true, true, true}, {false, true, false}, {true, false, false}}) {
            SCOPED_TRACE(std::string(form) + (answeredYes ? ", answered yes" : ", not answered") +
                         (thirdMarked ? ", third box marked" : ""));
            testsupport::FormReach reach = testsupport::reachOf(form);
            if (answeredYes) reach.federal += yes;
            // The box goes into the copy 1 that the row gives, else one of its own.
            const std::size_t at = reach.georgia.find(copy1);
            if (thirdMarked && at != std::string::npos) reach.georgia.insert(at + copy1.size(), third);
            if (thirdMarked && at == std::string::npos) reach.georgia += copy1 + third + "</FORM>";
            const std::string input = writeFile("in.xml", testsupport::reachingReturn(reach));
            const testsupport::GahostResult r = testsupport::runGahost({"run", input, "--out", path("out")}, {}, dir);
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out.find(warning) != std::string::npos, warns) << r.out;
        }
    }
}

}  // namespace
