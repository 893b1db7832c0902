// Display text of sender and subject, the short date of the preview, and the picking of the
// fields out of header lines.
#include "mail/header_decoder.h"

#include <gtest/gtest.h>

#include <sstream>

#include "mail/header_fields.h"
#include "mail/mail_date.h"
#include "platform/charsets.h"

namespace quorlet {
namespace {

// "你好" is C4 E3 BA C3 in GBK; "鸥信通" in UTF-8 and in Big5 ("中文" for Big5).
const std::string kNiHao = "\xC4\xE3\xBA\xC3";

std::string Decode(std::string_view raw) {
    return DecodeHeaderText(raw, 0, SystemCharsets());
}

TEST(DecodeHeaderText, EncodedWordsOfTheCommonCharsetsBecomeGbk) {
    EXPECT_EQ(Decode(" =?gb2312?B?xOO6ww==?="), " " + kNiHao);
    EXPECT_EQ(Decode("=?GBK?Q?=C4=E3=BA=C3?="), kNiHao);
    EXPECT_EQ(Decode("=?utf-8?B?6bil5L+h6YCa?="), "鸥信通");
    EXPECT_EQ(Decode("=?UTF-8?Q?=E9=B8=A5=E4=BF=A1=E9=80=9A?="), "鸥信通");
    EXPECT_EQ(Decode("=?big5?B?pKSk5Q==?="), "中文");
    // é is one byte in Latin-1 and two in GBK: the display text outgrows the raw field.
    EXPECT_EQ(Decode("=?iso-8859-1?Q?=E9?="), "\xA8\xA6");
}

TEST(DecodeHeaderText, EveryWordIsDecodedAndPlainTextKept) {
    // The text around encoded words stays; the blanks between two words go.
    EXPECT_EQ(Decode(" Re: =?gb2312?B?xOO6ww==?= (2)"), " Re: " + kNiHao + " (2)");
    EXPECT_EQ(Decode("=?gb2312?B?xOM=?= \t =?gb2312?B?usM=?="), kNiHao);
    EXPECT_EQ(Decode("=?gb2312?B?xOM=?= x =?gb2312?B?usM=?="), "\xC4\xE3 x \xBA\xC3");
    // A UTF-8 character cut across two words survives the joining.
    EXPECT_EQ(Decode("=?utf-8?B?6bil5L8=?= =?utf-8?B?oemAmg==?="), "鸥信通");
    // Words of different charsets are converted each on its own.
    EXPECT_EQ(Decode("=?utf-8?B?6bil?= =?big5?B?pKQ=?="), "鸥中");
    EXPECT_EQ(Decode(" Ann <ann@example.com>"), " Ann <ann@example.com>");
}

TEST(DecodeHeaderText, QWordsAndMalformedWords) {
    EXPECT_EQ(Decode("=?us-ascii?q?a_b?="), "a b");
    EXPECT_EQ(Decode("=?x?Q?a==41?="), "a=A");
    // A word without its closing "?=" runs to the end of the field.
    EXPECT_EQ(Decode("=?gb2312?B?xOO6ww=="), kNiHao);
    // Not encoded words: no encoding letter, an unknown letter, no third "?".
    EXPECT_EQ(Decode("a=b =?gb2312?"), "a=b =?gb2312?");
    EXPECT_EQ(Decode("=?gb2312?X?abc?="), "=?gb2312?X?abc?=");
    EXPECT_EQ(Decode("What=?Is this?"), "What=?Is this?");
    // A charset the system does not know leaves the bytes as they are.
    EXPECT_EQ(Decode("=?x-unknown?Q?=C4=E3?="), "\xC4\xE3");
}

TEST(DecodeHeaderText, ControlBytesBecomeBlanks) {
    // CR LF, NUL and a bad escape (a zero byte) cannot reach the list or the filter files.
    EXPECT_EQ(Decode("=?utf-8?Q?a=0D=0Ab=00c=ZZd=09e?="), "a  b c d e");
    EXPECT_EQ(Decode("=?utf-8?B?YQ1iCmM=?="), "a b c");
}

TEST(DecodeBase64, SkipsPaddingStopsAtTheFirstForeignByte) {
    EXPECT_EQ(DecodeBase64("xOO6ww=="), kNiHao);
    EXPECT_EQ(DecodeBase64("xOO6ww?=rest"), kNiHao);
    EXPECT_EQ(DecodeBase64("QUJD"), "ABC");
    EXPECT_EQ(DecodeBase64("QU=JD"), "ABC");
    EXPECT_EQ(DecodeBase64("QUJ"), "AB");  // six bits left over are dropped
    // A byte is read by its low seven bits: 0xC1 reads as "A".
    EXPECT_EQ(DecodeBase64("\xC1QUJ"), DecodeBase64("AQUJ"));
    EXPECT_EQ(DecodeBase64(""), "");
}

TEST(DecodeQuoted, EscapesAndTheEndOfTheWord) {
    EXPECT_EQ(DecodeQuoted("=C4=e3=BA=c3"), kNiHao);
    EXPECT_EQ(DecodeQuoted("ab?=cd"), "ab");
    EXPECT_EQ(DecodeQuoted("ab=4"), "ab");  // a "=" with fewer than two characters left
    EXPECT_EQ(DecodeQuoted("a=G1b"), std::string("a\0b", 3));
}

TEST(NormaliseDate, RewritesTheUsualForm) {
    std::string out;
    EXPECT_TRUE(NormaliseDate(" Mon, 06 May 2002 10:20:30 +0800", out));
    EXPECT_EQ(out, "2002-5-06 10:20:30");
    EXPECT_TRUE(NormaliseDate("Mon, 6 May 2002 10:20:30", out));
    EXPECT_EQ(out, "2002-5-6 10:20:30");
    EXPECT_TRUE(NormaliseDate("Mon, 06 Mai 2002 10:20:30", out));
    EXPECT_EQ(out, "2002Mai06 10:20:30");
    EXPECT_TRUE(NormaliseDate("Tue,31  Dec   1999 23:59:59 (CST)", out));
    EXPECT_EQ(out, "1999-12-31 23:59:59");
    EXPECT_TRUE(NormaliseDate("Mon 06 May", out));  // missing tokens are empty
    EXPECT_EQ(out, "-5-06 ");
}

TEST(NormaliseDate, LeavesOtherFormsAsTheyAre) {
    std::string out;
    EXPECT_FALSE(NormaliseDate(" 6 May 2002 10:20:30 +0800", out));
    EXPECT_EQ(out, " 6 May 2002 10:20:30 +0800");
    EXPECT_FALSE(NormaliseDate("Monday", out));
    EXPECT_EQ(out, "Monday");
    EXPECT_FALSE(NormaliseDate("", out));
    EXPECT_FALSE(NormaliseDate("   ", out));
}

TEST(NormaliseDate, OverlongTokensAreCut) {
    std::string out;
    EXPECT_TRUE(NormaliseDate("Mon, 0123456789 Maytime 2002000000 10:20:30.123456789012", out));
    EXPECT_EQ(out, "2002000Maytime0123456 10:20:30.123456");
}

TEST(FormatMailDate, EnglishNamesWithoutZone) {
    EXPECT_EQ(FormatMailDate({2002, 5, 6, 10, 20, 30}), "Mon, 06 May 2002 10:20:30");
    EXPECT_EQ(FormatMailDate({2024, 12, 31, 0, 0, 5}), "Tue, 31 Dec 2024 00:00:05");
}

HeaderFields Extract(const std::string& spool) {
    std::istringstream in(spool);
    return ExtractHeaderFields(in);
}

TEST(ExtractHeaderFields, PicksTheFieldsAfterTheStatusRemnant) {
    const HeaderFields f = Extract(
        " 320 octets\r\n"
        "Return-Path: <a@b>\r\n"
        "From: Ann <ann@example.com>  \r\n"
        "Subject: =?gb2312?B?xOO6ww==?=\r\n"
        "Date: Mon, 06 May 2002 10:20:30 +0800\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "\r\n"
        ".\r\n");
    EXPECT_EQ(f.from, " Ann <ann@example.com>");
    EXPECT_EQ(f.subject, " =?gb2312?B?xOO6ww==?=");
    EXPECT_EQ(f.date, " Mon, 06 May 2002 10:20:30 +0800");
    EXPECT_EQ(f.encoding, 'Q');
    // A status line of "+OK" alone leaves an empty first line; "+OK " CR LF leaves none.
    EXPECT_EQ(Extract("\r\nFrom: a\r\n\r\n.\r\n").from, " a");
    EXPECT_EQ(Extract("From: a\r\n.\r\n").from, " a");
}

TEST(ExtractHeaderFields, CaseSensitivePrefixesAndTheLastOccurrenceWins) {
    const HeaderFields f = Extract(
        "\r\nFROM: upper\r\nfrom: lower\r\nFrom: first\r\nFrom: second\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Transfer-Encoding: 7bit\r\n\r\n.\r\n");
    EXPECT_EQ(f.from, " second");
    EXPECT_EQ(f.encoding, 'B');
    EXPECT_EQ(f.subject, "");
    EXPECT_EQ(f.date, "");
}

TEST(ExtractHeaderFields, FoldedFieldsAreWholeAndTheBodyIsNotRead) {
    const HeaderFields f = Extract(
        "\r\n"
        "Subject: =?utf-8?B?6bil5L8=?=\r\n"
        " =?utf-8?B?oemAmg==?=\r\n"
        "\tand more\r\n"
        "From: ann\n"  // a bare LF ends a line too
        "\n"
        "From: a body line\r\n"
        "Subject: a body line\r\n"
        ".\r\n");
    EXPECT_EQ(f.subject, " =?utf-8?B?6bil5L8=?= =?utf-8?B?oemAmg==?= and more");
    EXPECT_EQ(Decode(f.subject), " 鸥信通 and more");
    EXPECT_EQ(f.from, " ann");
}

TEST(ExtractHeaderFields, ControlBytesOfRawFieldsBecomeBlanks) {
    const HeaderFields f = Extract("\r\nSubject: a" + std::string(1, '\0') +
                                   "b\x01"
                                   "c\r\nFrom: x\ry\r\n");
    EXPECT_EQ(f.subject, " a b c");
    // A stray CR inside a line costs its last character, as the spool reader always did.
    EXPECT_EQ(f.from, " x");
}

}  // namespace
}  // namespace quorlet
