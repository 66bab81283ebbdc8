// The return file: files written read back identically, and a write that
// fails or is interrupted leaves the old file or the new one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/returnfile_fixture.h"

namespace {

using namespace returnfiletest;

// Fills the returns with what a file must carry exactly: texts that XML
// escapes or CDATA splits, blank texts, amounts at
// the limit and past it (calculated), half cents, boxes, overrides, dates at
// the ends of their domains, an empty copy, values of another kind than their
// field's, and the seeds a file writes.
void fillEveryKindOfValue(Returns& a) {
    const std::vector<std::string> texts = {"<tag> & \"quotes\" 'single'",
                                            "a]]>b",
                                            "]]>",
                                            "]]]]>>",
                                            "Jose Muller",  // a letter with a mark is read as its plain letter
                                            "  padded  ",
                                            "   ",
                                            "&amp; &#65; <![CDATA[x]]>",
                                            "X",
                                            "NO"};
    // Two texts a copy of the interest statement (payer and row information).
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto copy = static_cast<std::uint16_t>(i / 2 + 1);
        DataMgmt::TaxFormPtr st2 = a.georgia->getFormUVPtr(kST2, copy, true);
        ASSERT_FALSE(st2.isNull());
        st2->setValue(i % 2 == 0 ? 1 : 2, FieldValue::text(texts[i]));
        st2->setValue(3, FieldValue::number((10.0 * static_cast<double>(i) - 35) / 100));
    }
    // What the calculation stores keeps to the limit of every amount.
    a.georgia->getFormUVPtr(kST2, 1, true)->setValue(27, FieldValue::number(-1e13));
    DataMgmt::TaxFormPtr f1 = a.federal->getFormUVPtr(kF1, 1, true);
    f1->setValue(1, FieldValue::box(true));
    f1->setValue(2, FieldValue::box(false));
    f1->setValue(30, FieldValue::number(1234.56));
    f1->setValue(31, FieldValue::number(-0.0));
    f1->setValue(32, FieldValue::number(static_cast<double>(PersistanceMgmt::kAmountLimitDollars) - 0.5));
    f1->setValue(41, FieldValue::number(7));
    f1->setOverridden(41, true);
    f1->setOverridden(40, true);  // an override on a null field
    a.federal->setDataEntered(kF1, 1, false);
    DataMgmt::TaxFormPtr w2 = a.federal->getFormUVPtr(kF52, 5, true);
    w2->setValue(33, FieldValue::number(1234));  // 12.34 dollars
    // What the calculation stores where it keeps fractions of a cent is
    // carried to its last digit: beyond the cent, and half a cent.
    DataMgmt::TaxFormPtr ga70 = a.georgia->getFormUVPtr(kGA70, 1, true);
    ga70->setValue(45, FieldValue::number(1234.5678));
    ga70->setValue(83, FieldValue::number(12.345));
    ga70->setValue(84, FieldValue::number(0.1 + 0.2));
    w2->setValue(32, FieldValue::number(-99));
    // Entries at the ends of their domains.
    w2->setValue(97, FieldValue::number(0));
    f1->setValue(9, FieldValue::text("12/31/2018"));
    DataMgmt::TaxFormPtr ga69 = a.georgia->getFormUVPtr(kGA69, 1, true);
    ga69->setValue(6, FieldValue::text("01/01/1900"));
    ga69->setValue(102, FieldValue::text("01/01/2018"));
    ga69->setValue(103, FieldValue::text("12/31/2018"));
    a.federal->getFormUVPtr(kF52, 2, true);  // an empty copy
    a.federal->setDataEntered(kF52, 2, true);
    a.georgia->getFormUVPtr(kGA70, 1, true)->setValue(345, FieldValue::text("P0001234"));
    a.ga()->setInElf(true);
    a.ga()->setEnabledType(4);
    a.ga()->setRefundCode("Z");
    a.federal->setFilingStatusNumber(3);
}

// Every copy and field of the two snapshots is the same: names, marks,
// values and overrides.
void expectSameContents(const PersistanceMgmt::ReturnFileContents& snapA,
                        const PersistanceMgmt::ReturnFileContents& snapB) {
    for (auto part : {&PersistanceMgmt::ReturnFileContents::federal, &PersistanceMgmt::ReturnFileContents::georgia}) {
        const auto& pa = *(snapA.*part);
        const auto& pb = *(snapB.*part);
        ASSERT_EQ(pa.copies.size(), pb.copies.size());
        for (std::size_t i = 0; i < pa.copies.size(); ++i) {
            const auto& ca = pa.copies[i];
            const auto& cb = pb.copies[i];
            ASSERT_EQ(ca.desc->getDevName(), cb.desc->getDevName());
            ASSERT_EQ(ca.copy, cb.copy);
            EXPECT_EQ(ca.effectiveDataEntered(), cb.effectiveDataEntered()) << ca.desc->getDevName() << " " << ca.copy;
            ASSERT_EQ(ca.fields.size(), cb.fields.size()) << ca.desc->getDevName() << " " << ca.copy;
            for (std::size_t k = 0; k < ca.fields.size(); ++k) {
                EXPECT_EQ(ca.fields[k].desc->getID(), cb.fields[k].desc->getID());
                EXPECT_TRUE(ca.fields[k].value == cb.fields[k].value)
                    << ca.desc->getDevName() << " copy " << ca.copy << " field " << ca.fields[k].desc->getSymbolicName()
                    << ": \"" << cb.fields[k].value.getText() << "\"";
                EXPECT_EQ(ca.fields[k].overridden, cb.fields[k].overridden);
            }
        }
    }
}

TEST_F(ReturnFileTest, WrittenFilesReadBackIdentically) {
    Returns a;
    fillEveryKindOfValue(a);
    if (HasFatalFailure()) return;

    const std::string path = (fs::path(dir) / "round.xml").string();
    ReturnFile::save(path, a.federal.get(), a.ga());
    const std::string first = readFile(path);

    Returns b;
    b.load(path);
    expectSameContents(ReturnFile::snapshot(a.federal.get(), a.ga()), ReturnFile::snapshot(b.federal.get(), b.ga()));
    EXPECT_FALSE(b.federal->isDataEntered(kF1, 1));
    EXPECT_TRUE(b.federal->isDataEntered(kF52, 2));
    EXPECT_TRUE(b.ga()->InElf());
    EXPECT_EQ(b.ga()->getEnabledType(), 4);
    EXPECT_EQ(b.ga()->refundCode(), "Z");
    EXPECT_EQ(b.federal->getFilingStatusNumber(), 3);

    // And the file written from the reloaded returns is byte for byte the same.
    const std::string second = (fs::path(dir) / "round2.xml").string();
    ReturnFile::save(second, b.federal.get(), b.ga(), nullptr);
    EXPECT_EQ(readFile(second), first);
}

TEST_F(ReturnFileTest, SeedTablesAreCarriedOverFromTheLoadedFile) {
    Returns a;
    const std::string in = writeFile(
        "in.xml", wrap("<HOST><SESSIONPROPERTY NAME=\"p\">-5</SESSIONPROPERTY><OFFICELOCATORURL>http://x/?a=1&amp;b=2"
                       "</OFFICELOCATORURL></HOST>\n",
                       "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"86\">1</PULLCOMMON>"
                       "<W2SPLIT FORM=\"F52\" FIELD=\"StateWages1\" TAXPAYER=\"1.5\" SPOUSE=\"-2\"/>"
                       "<ALLSTATEWAGES>10</ALLSTATEWAGES><STATEWITHHELD>3.25</STATEWITHHELD>"
                       "<STATEWITHHELDNOLOCAL>3</STATEWITHHELDNOLOCAL><TAXBALANCE>12</TAXBALANCE></HOST>\n"));
    const auto loaded = a.load(in);
    const std::string out = (fs::path(dir) / "out.xml").string();
    ReturnFile::save(out, a.federal.get(), a.ga(), &loaded);

    Returns b;
    b.load(out);
    EXPECT_EQ(b.federal->getSessionProperties()->getQVInt8Property("p"), -5);
    EXPECT_EQ(b.federal->getOfficeLocatorURL(DataMgmt::kFederalReturnType), "http://x/?a=1&b=2");
    EXPECT_EQ(b.ga()->pullCommon(kF1, 1, Utils::PCTypes{86}), 1);
    double tp = 0, sp = 0;
    b.ga()->getFromW2(kF52, 33, FieldID(), false, tp, sp);
    EXPECT_EQ(tp, 1.5);
    EXPECT_EQ(sp, -2);
    EXPECT_EQ(b.ga()->getAllStateWages(1), 10);
    EXPECT_EQ(b.ga()->getStateTaxWithheld(1), 3.25);
    EXPECT_EQ(b.ga()->getStateTaxWithheldNoLocal(1), 3);
    EXPECT_EQ(b.ga()->taxBalance(), 12);
}

TEST_F(ReturnFileTest, AFailedWriteKeepsTheExistingFileAndLeavesNoTemporaryFile) {
    Returns r;
    const std::string path = writeFile("keep.xml", "precious");
    r.georgia->getFormUVPtr(kST2, 1, true)->setValue(1, FieldValue::text(std::string("bell\x07", 5)));
    try {
        ReturnFile::save(path, r.federal.get(), r.ga());
        FAIL() << "a control character was written";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("form ST2 copy 1 field 1 (kST2_Payer)"), std::string::npos) << e.getMessage();
        EXPECT_NE(e.getMessage().find("U+0007"), std::string::npos) << e.getMessage();
    }
    EXPECT_EQ(readFile(path), "precious");

    r.georgia->getFormUVPtr(kST2, 1, true)->setValue(1, FieldValue::text("\xC3("));  // not UTF-8
    EXPECT_THROW(ReturnFile::save(path, r.federal.get(), r.ga()), Exceptions::QuarloException);
    EXPECT_EQ(readFile(path), "precious");
    r.georgia->getFormUVPtr(kST2, 1, true)->setValue(1, FieldValue::text("a\nb"));  // what the reader refuses
    EXPECT_THROW(ReturnFile::save(path, r.federal.get(), r.ga()), Exceptions::QuarloException);
    EXPECT_EQ(readFile(path), "precious");

    EXPECT_THROW(ReturnFile::writeAtomically(dir + "/no/such/dir/x.xml", "x"), Exceptions::QuarloException);
    EXPECT_EQ(namesIn(""), Names{"keep.xml"});
}

TEST_F(ReturnFileTest, ARenameOntoANonEmptyDirectoryThrowsAndLeavesNoTemporaryFile) {
    fs::create_directories(dir + "/target/inside");
    EXPECT_THROW(ReturnFile::writeAtomically(dir + "/target", "new"), Exceptions::QuarloException);
    EXPECT_TRUE(fs::is_directory(dir + "/target/inside"));
    EXPECT_EQ(namesIn(""), Names{"target"}) << "a temporary file was left behind";
}

// The pipes of a writer in a child process: it tells the test when its file
// is complete under the temporary name, then waits until the test closes
// the other pipe.
int gWriteBegun = -1;
int gGoOn = -1;

// The sync of the staged file in the child: the temporary file holds every
// byte and is not yet in place.
int syncOnceSignalled(int fd) {
    const char mark = 'w';
    if (::write(gWriteBegun, &mark, 1) != 1) return EIO;
    char ignored = 0;
    if (::read(gGoOn, &ignored, 1) < 0) return errno;
    return ::fdatasync(fd);
}

// An interrupt or a termination that arrives while the new file stands
// under its temporary name ends the process once the file is in place: the
// new file, and no temporary file, is left.
TEST_F(ReturnFileTest, AnInterruptedWriteLeavesTheNewFileAndNoTemporaryFile) {
    const std::string target = path("target.xml");
    const std::string bytes = "<RETURNFILE/>";
    for (const int signal : {SIGINT, SIGTERM}) {
        writeFile("target.xml", "old");
        int begun[2];
        int goOn[2];
        ASSERT_EQ(::pipe(begun), 0);
        ASSERT_EQ(::pipe(goOn), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // As a process of a terminal takes it: a job that a shell puts
            // in the background starts with interrupts ignored.
            ::signal(signal, SIG_DFL);
            ::close(begun[0]);
            ::close(goOn[1]);
            gWriteBegun = begun[1];
            gGoOn = goOn[0];
            IOMgmt::setStagingCalls({syncOnceSignalled});
            try {
                ReturnFile::writeAtomically(target, bytes);
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        ::close(begun[1]);
        ::close(goOn[0]);
        char mark = 0;
        const ssize_t told = ::read(begun[0], &mark, 1);
        // The signal is pending in the child when kill returns; closing the
        // pipe lets the child go on, never before.
        ::kill(child, signal);
        ::close(goOn[1]);
        ::close(begun[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(told, 1) << "the child's write did not reach its sync";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_EQ(namesIn(""), Names{"target.xml"}) << "left behind";
        EXPECT_EQ(readFile(target), bytes);
    }
}

TEST_F(ReturnFileTest, WhatIsNotARegularFileOrIsTooLargeIsRefusedUnread) {
    Returns r;
    const std::string large = path("large.xml");
    std::ofstream(large).close();
    fs::resize_file(large, 256u * 1024u * 1024u + 1);  // sparse: no byte is written or read
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {"/dev/zero", "/dev/zero: is not a regular file"},
        {large, large + ": the file is larger than the limit of 256 MiB"},
        {dir, dir + ": is a directory"},
    };
    for (const auto& c : cases) {
        try {
            r.load(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_EQ(e.getMessage().find(c.message), 0u) << e.getMessage();
        }
    }
}

TEST_F(ReturnFileTest, WritingReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = writeFile("perm.xml", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ReturnFile::writeAtomically(path, "new");
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReturnFileTest, AFileOfOneReturnNeedsThatReturnOpen) {
    Returns r;
    const std::string path = writeFile("ga.xml", "<RETURN><FORM DEVNAME=\"GA70\"/></RETURN>");
    EXPECT_THROW(ReturnFile::load(path, r.federal.get(), nullptr), Exceptions::QuarloException);
    EXPECT_FALSE(r.georgia->formExists(kGA70, 1));
    EXPECT_NO_THROW(ReturnFile::load(path, nullptr, r.ga()));
    EXPECT_TRUE(r.georgia->formExists(kGA70, 1));
}

}  // namespace
