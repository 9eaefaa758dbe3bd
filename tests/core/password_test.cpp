// Password scrambling and the password file.
#include "core/password/crypt.h"
#include "core/password/passwordfile.h"
#include "testfolder.h"

using namespace ombrisa;

namespace {

// Expected values worked out by hand from the running key (start 5836, k <- ((c + k) * 40503 + 47196) mod 65536,
// mask = k >> 8): "A" is 0x41 ^ 0x16 = 0x57.
TEST(Crypt, EncodeGivesTwoUpperCaseDigitsPerCharacter) {
    EXPECT_EQ(Encode(u""), QString());
    EXPECT_EQ(Encode(u"A"), QStringLiteral("57"));
    EXPECT_EQ(Encode(u"\x16"), QStringLiteral("00")) << "a value below 16 keeps its leading zero";
    EXPECT_EQ(Encode(u"\x13"), QStringLiteral("05"));
    EXPECT_EQ(Encode(u"OMBRISA"), QStringLiteral("59CA21A6D7C74D"));
}

TEST(Crypt, DecodeUndoesEncodeOnTheLow8Bits) {
    for (const QString& s : {QStringLiteral("OMBRISA"), QStringLiteral("x"), QStringLiteral("PAROLA D'ORDINE àè"),
                             QString(255, QLatin1Char('Z'))})
        EXPECT_EQ(Decode(Encode(s)), s);
    // Characters above 255 keep only their low byte.
    EXPECT_EQ(Decode(Encode(QStringLiteral("\u0141"))), QString(QChar(0x41)));
}

TEST(Crypt, DecodeAcceptsLowerCaseIgnoresAnOddDigitAndRefusesNonHex) {
    const QString e = Encode(u"OMBRISA");
    EXPECT_EQ(Decode(e.toLower()), QStringLiteral("OMBRISA"));
    EXPECT_EQ(Decode(e + QLatin1Char('F')), QStringLiteral("OMBRISA"));
    EXPECT_EQ(Decode(u"5"), QString());
    EXPECT_FALSE(Decode(u"5G").has_value());
    EXPECT_FALSE(Decode(e.left(4) + QStringLiteral("zz")).has_value());
}

class PasswordFileTest : public TestFolder {};

TEST_F(PasswordFileTest, StoresTheNormalisedScrambledPasswordInSectionAccesso) {
    ASSERT_TRUE(writeStoredPassword(path("unins000.dll"), u"  ombrisa "));
    const QByteArray content = bytes("unins000.dll");
    EXPECT_TRUE(content.contains("[Accesso]"));
    EXPECT_TRUE(content.contains("Valore=" + Encode(u"OMBRISA").toLatin1()));
    EXPECT_EQ(readStoredPassword(path("unins000.dll")), QStringLiteral("OMBRISA"));
    EXPECT_EQ(normalizePassword(u" Ombrisa "), QStringLiteral("OMBRISA"));
    EXPECT_EQ(normalizePassword(u"àb"), QStringLiteral("àB")) << "only a-z change case";
}

TEST_F(PasswordFileTest, MissingFileOrKeyReadsEmptyAndADamagedValueFails) {
    EXPECT_EQ(readStoredPassword(path("unins000.dll")), QString());
    write("unins000.dll", "[Altro]\nValore=57\n");
    EXPECT_EQ(readStoredPassword(path("unins000.dll")), QString());
    write("unins000.dll", "[Accesso]\nValore=57XY\n");
    EXPECT_FALSE(readStoredPassword(path("unins000.dll")).has_value());
}

} // namespace
