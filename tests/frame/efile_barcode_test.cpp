// The e-file summary items and the 2-D barcode texts of the Georgia return.

#include <gtest/gtest.h>

#include <optional>

#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm189219FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "tests/frame/FrameFixture.h"

namespace {

using Form = Primitives::QVImmutableFormIdentifier;
using Field = Primitives::QVImmutableIdentifier;
const auto& f70 = kGAForm70FieldIds;

class GAEFileInfo : public frametest::ReturnFixture {
protected:
    std::pair<std::string, long> item(std::uint32_t n) {
        std::string text = "stale";
        long amount = 777;
        ga_->getEFileInfo(text, &amount, n);
        return {text, amount};
    }
};

TEST_F(GAEFileInfo, BalanceIsPositiveWhenOwedAndNegativeForARefund) {
    EXPECT_EQ(item(0), std::make_pair(std::string("0"), 0L)) << "neither owed nor refunded";

    setNumber(kGAForm70ID, f70.f107, 75);
    EXPECT_EQ(item(0), std::make_pair(std::string("75"), -75L)) << "the text shows the refund itself";

    setNumber(kGAForm70ID, f70.f106, 1250);
    EXPECT_EQ(item(0), std::make_pair(std::string("1,250"), 1250L)) << "an amount owed wins";
}

TEST_F(GAEFileInfo, TotalTaxFormattedAsTheField) {
    setNumber(kGAForm70ID, f70.f84, 1234567);
    EXPECT_EQ(item(1), std::make_pair(std::string("1,234,567"), 1234567L));
}

TEST_F(GAEFileInfo, FixedItems) {
    EXPECT_EQ(item(2), std::make_pair(std::string("Georgia Department of Revenue"), 0L));
    const auto [note, noteAmount] = item(5);
    EXPECT_EQ(note,
              "Keep Form GA8453, together with the rest of your Georgia return, W-2s, 1099s, and other supporting "
              "documents, for four years.");
    EXPECT_EQ(note.size() + 1, 126u);
    EXPECT_EQ(noteAmount, 0);
    const std::pair<std::uint32_t, long> amounts[] = {{4, 0},  {6, 2},  {7, 0},  {8, 0},  {9, 1},
                                                      {11, 0}, {12, 0}, {13, 1}, {14, 0}, {4000000000u, 0}};
    for (const auto& [n, expected] : amounts) {
        EXPECT_EQ(item(n), std::make_pair(std::string(), expected)) << "item " << n;
    }
}

TEST_F(GAEFileInfo, RecordKeepingBoxItem) {
    EXPECT_EQ(item(3).second, 1);
    setBox(kGAForm69ID, kGAForm69FieldIds.f197644, true);
    EXPECT_EQ(item(3).second, 0);
}

TEST_F(GAEFileInfo, DeceasedTaxpayerIsReadFromTheFederalReturn) {
    EXPECT_EQ(item(10), std::make_pair(std::string(), 1L));
    const auto deceased =
        std::make_pair(std::string("Georgia does not support e-filing on behalf of a deceased taxpayer"), 0L);
    setBox(kForm92ID, kForm92FieldIds.f1109, true);
    EXPECT_EQ(item(10), deceased) << "field 1109";
    setBox(kForm92ID, kForm92FieldIds.f1109, false);
    setBox(kForm92ID, kForm92FieldIds.f1108, true);
    EXPECT_EQ(item(10), deceased) << "field 1108";
}

TEST_F(GAEFileInfo, MissingAmountPlaceIsTolerated) {
    std::string text;
    EXPECT_NO_THROW(ga_->getEFileInfo(text, nullptr, 2));
    EXPECT_EQ(text, "Georgia Department of Revenue");
}

// ---- barcode

class GABarcode : public frametest::ReturnFixture {
protected:
    std::string barcode(const Form& form, int field, std::string value, std::uint16_t n = 1) {
        DataMgmt::TaxFormPtr c = form.getNumber() > 0 ? ga_->getForm(form, n) : DataMgmt::TaxFormPtr();
        ga_->formatBarcodeValue(c, form, n, Field(field), value);
        return value;
    }
    void calculated(const Form& form, bool yes, std::uint16_t n = 1) { copy(form, n)->setCalculatedFlag(yes); }
};

TEST_F(GABarcode, TaxYearKeyword) {
    EXPECT_EQ(barcode(Form(0), 0, "TaxYear"), "2018");
    EXPECT_EQ(barcode(Form(-1, true), -5, "TaxYear"), "2018");
    EXPECT_EQ(barcode(Form(0), 0, "taxyear"), "taxyear");
    EXPECT_EQ(barcode(Form(0), 0, "TaxYear "), "TaxYear ");
    EXPECT_EQ(barcode(Form(0), 0, "Other"), "Other");
    // Only both numbers 0 or less make a keyword.
    copy(kGAForm70ID);
    EXPECT_EQ(barcode(kGAForm70ID, 62, "TaxYear"), "TaxYear");
    EXPECT_EQ(barcode(kGAForm70ID, 0, "TaxYear"), "TaxYear");
}

TEST_F(GABarcode, ScheduleTwoSecondPageWithOneCopy) {
    copy(kGAForm189216ID, 1);
    EXPECT_EQ(barcode(Form(0), 0, "Sch2pg2"), std::string(36, '\r'));
}

TEST_F(GABarcode, ScheduleTwoSecondPageFromCopyTwo) {
    const auto& f = kGAForm189216FieldIds;
    copy(kGAForm189216ID, 1);
    copy(kGAForm189216ID, 2);
    EXPECT_EQ(barcode(Form(0), 0, "Sch2pg2"), std::string(36, '\r')) << "an empty copy 2";

    setText(kGAForm189216ID, f.f199426, "106", 2);
    setNumber(kGAForm189216ID, f.f189807, 1234, 2);
    setText(kGAForm189216ID, f.f189808, "a-b", 2);    // unchanged
    setNumber(kGAForm189216ID, f.f189809, 50.25, 2);  // its point removed
    setText(kGAForm189216ID, f.f189811, "58-1234567", 2);
    setNumber(kGAForm189216ID, f.f189814, 0, 2);  // no significant value: the zeros go too
    setNumber(kGAForm189216ID, f.f189826, 9999, 2);
    const std::string text = barcode(Form(0), 0, "Sch2pg2");

    std::vector<std::string> parts;
    std::string part;
    for (char ch : text) {
        if (ch == '\r') {
            parts.push_back(part);
            part.clear();
        } else {
            part += ch;
        }
    }
    ASSERT_EQ(parts.size(), 36u);
    EXPECT_TRUE(part.empty()) << "every text ends in a carriage return";
    EXPECT_EQ(parts[0], "106");
    EXPECT_EQ(parts[1], "1234");
    EXPECT_EQ(parts[2], "a-b");
    EXPECT_EQ(parts[3], "5025");
    EXPECT_EQ(parts[5], "581234567");
    EXPECT_EQ(parts[8], "");
    EXPECT_EQ(parts[35], "9999");
}

TEST_F(GABarcode, WorksheetsPrintOnlyWhenCalculated) {
    calculated(kGAForm190057ID, false);
    EXPECT_EQ(barcode(kGAForm190057ID, 190172, "Name"), "");
    EXPECT_EQ(barcode(kGAForm190057ID, 190178, "03/15/2018"), "") << "dates included";
    calculated(kGAForm190054ID, false);
    EXPECT_EQ(barcode(kGAForm190054ID, 1, "12"), "");
    calculated(kGAForm190054ID, true);
    EXPECT_EQ(barcode(kGAForm190054ID, 1, "12"), "12");
    calculated(kGAForm189215ID, false);
    EXPECT_EQ(barcode(kGAForm189215ID, 189266, "12"), "");
    // A copy the host could not hand over counts as not calculated.
    EXPECT_EQ(barcode(kGAForm190061ID, 1, "12"), "");
}

TEST_F(GABarcode, NameContinuationsOfTheWorksheets) {
    const auto& f = kGAForm190057FieldIds;
    calculated(kGAForm190057ID, true);
    EXPECT_EQ(barcode(kGAForm190057ID, f.f190172.getNumber(), "Ann"), "Ann ") << "field 190174 empty: a trailing blank";
    setText(kGAForm190057ID, f.f190173, "B");
    setText(kGAForm190057ID, f.f190174, "Lee");
    EXPECT_EQ(barcode(kGAForm190057ID, f.f190172.getNumber(), "Ann"), "Ann B Lee");

    const auto& g = kGAForm190058FieldIds;
    calculated(kGAForm190058ID, true);
    setText(kGAForm190058ID, g.f190195, "Smith");
    EXPECT_EQ(barcode(kGAForm190058ID, g.f190194.getNumber(), "Jo"), "Jo Smith");
}

TEST_F(GABarcode, DatesBecomeMonthDayYear) {
    calculated(kGAForm190058ID, true);
    EXPECT_EQ(barcode(kGAForm190058ID, 190196, "03/05/2018"), "03052018");
    EXPECT_EQ(barcode(kGAForm190058ID, 190204, "2018-12-31"), "12312018");
    EXPECT_EQ(barcode(kGAForm190058ID, 190196, ""), "");
    // A text that is not a date gives no made-up digits.
    EXPECT_EQ(barcode(kGAForm190058ID, 190196, "soon"), "");
    EXPECT_EQ(barcode(kGAForm190058ID, 190196, "13/45/2018"), "");
}

TEST_F(GABarcode, MainFormRules) {
    copy(kGAForm70ID);
    EXPECT_EQ(barcode(kGAForm70ID, 110, "123-45-6789"), "123456789");
    EXPECT_EQ(barcode(kGAForm70ID, 189550, "1-2"), "12");
    EXPECT_EQ(barcode(kGAForm70ID, 34, "X"), "X");
    EXPECT_EQ(barcode(kGAForm70ID, 34, "x"), "");
    EXPECT_EQ(barcode(kGAForm70ID, 325, "Yes"), "");
    EXPECT_EQ(barcode(kGAForm70ID, 62, "1-2"), "1-2") << "other fields unchanged";
}

TEST_F(GABarcode, OrganisationNameIsExtendedAndCut) {
    const auto& f = kGAForm189219FieldIds;
    copy(kGAForm189219ID);
    setText(kGAForm189219ID, f.f189661, "Two");
    setText(kGAForm189219ID, f.f190147, "Four");
    EXPECT_EQ(barcode(kGAForm189219ID, 189660, "One"), "One Two") << "the first empty line ends it";

    setText(kGAForm189219ID, f.f190146, "Three");
    EXPECT_EQ(barcode(kGAForm189219ID, 189660, "One"), "One Two Three Four");

    copy(kGAForm189219ID)->setNull(f.f189661);
    EXPECT_EQ(barcode(kGAForm189219ID, 189660, std::string(120, 'n')), std::string(100, 'n'));
    // The cut at 100 bytes never splits a character of two bytes.
    EXPECT_EQ(barcode(kGAForm189219ID, 189660, std::string(99, 'n') + "\xC3\xA9"), std::string(99, 'n'));
    EXPECT_EQ(barcode(kGAForm189219ID, 189662, "58-1"), "581");
}

TEST_F(GABarcode, PercentagesLoseTheirDecimalPoint) {
    const auto& f = kGAForm189216FieldIds;
    calculated(kGAForm189216ID, true, 1);
    setNumber(kGAForm189216ID, f.f189809, 12.75);
    EXPECT_EQ(barcode(kGAForm189216ID, 189809, "ignored"), "1275") << "read from the copy asked";
    setNumber(kGAForm189216ID, f.f204126, 10000);
    EXPECT_EQ(barcode(kGAForm189216ID, 204126, "ignored"), "10000");
    calculated(kGAForm189216ID, false, 1);
    EXPECT_EQ(barcode(kGAForm189216ID, 189809, "12.50"), "");
}

// Schedule 3's ratio, kept unrounded in ten-thousandths, goes into the
// barcode in whole ten-thousandths: a percentage with two decimals and no
// point, never the digits of its unrounded text.
TEST_F(GABarcode, RatioInWholeTenThousandths) {
    const Field ratio = kGAForm189217FieldIds.f189453;
    EXPECT_EQ(barcode(kGAForm189217ID, 189453, "ignored"), "") << "no ratio";
    const std::pair<double, const char*> rows[] = {
        {7500, "7500"}, {9811.32075471698, "9811"}, {4064.5, "4065"}, {9999.5, "10000"}, {10000, "10000"}, {0, "0"},
    };
    for (const auto& [stored, written] : rows) {
        setNumber(kGAForm189217ID, ratio, stored);
        EXPECT_EQ(barcode(kGAForm189217ID, 189453, "ignored"), written) << stored;
    }
}

// Schedule 3's copies write the one ratio that copy 1 holds, whichever copy
// is asked for, and nothing when copy 1 holds none; only a copy whose own
// ratio is the whole writes "10000".
TEST_F(GABarcode, RatioOfEveryCopyIsCopyOnes) {
    const Field ratio = kGAForm189217FieldIds.f189453;
    const struct {
        std::optional<double> first;
        double second;
        std::uint16_t asked;
        const char* written;
    } rows[] = {
        {7500, 5000, 2, "7500"},     {7500, 5000, 1, "7500"},   {10000, 5000, 2, "10000"},
        {std::nullopt, 5000, 2, ""}, {7500, 10000, 2, "10000"},
    };
    for (const auto& row : rows) {
        if (row.first) {
            setNumber(kGAForm189217ID, ratio, *row.first, 1);
        } else {
            copy(kGAForm189217ID, 1)->setNull(ratio);
        }
        setNumber(kGAForm189217ID, ratio, row.second, 2);
        EXPECT_EQ(barcode(kGAForm189217ID, 189453, "ignored", row.asked), row.written)
            << row.first.value_or(-1) << " and " << row.second << ", copy " << row.asked;
    }
}

}  // namespace
