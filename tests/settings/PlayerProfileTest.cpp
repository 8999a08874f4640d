// Tests of the accounts: score keeping, the save-file reader and writer, and the rules that
// keep every earned score in its own account's file.
#include "WorkFolder.h"
#include "platform/Codepage.h"
#include "settings/PlayerProfile.h"

namespace {

using Profile = WorkFolder;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// The profile's records as "key[a][b][c]" lines, for compact comparisons.
std::string Records() {
    std::string out;
    for (const ScoreRecord& r : GetPlayerProfile().records)
        out += platform::WideToUtf8(r.music) + "[" + std::to_string(r.best[0]) + "][" +
               std::to_string(r.best[1]) + "][" + std::to_string(r.best[2]) + "]\n";
    return out;
}

// Signs up name with password through the profile operations, as the configuration scene does.
void SignUp(const std::wstring& name, const std::wstring& password) {
    ASSERT_TRUE(SignUpProfile(name));
    ASSERT_TRUE(FinishSignUp(password));
}

// Signs in to an existing account with its password.
void SignIn(const std::wstring& name, const std::wstring& password) {
    ASSERT_TRUE(LoadProfile(name));
    ASSERT_TRUE(ConfirmSignIn(password));
}

TEST_F(Profile, KeepsTheBestScoreOfEachPieceAndLevel) {
    RecordHighScore(L"Song", 1, 0);
    EXPECT_EQ(Records(), "Song[0][0][0]\n");  // even a first 0 makes a record
    RecordHighScore(L"Song", 1, 900);
    RecordHighScore(L"Song", 1, 800);
    RecordHighScore(L"Song", 2, -5);
    RecordHighScore(L"Other", 0, -7);
    EXPECT_EQ(Records(), "Song[0][900][0]\nOther[-7][0][0]\n");
    EXPECT_EQ(GetHighScore(L"Song", 1), 900);
    EXPECT_EQ(GetHighScore(L"Other", 0), -7);
    EXPECT_EQ(GetHighScore(L"Missing", 0), 0);
    EXPECT_EQ(Entries("."), std::vector<std::string>{});  // no account: nothing written
    EXPECT_TRUE(SaveProfile());
    EXPECT_EQ(Entries("."), std::vector<std::string>{});
}

TEST_F(Profile, ReadsSaveFilesAsWritten) {
    Write("Save/A.svd", "PW1\nSong[1][-2][3]\nSong[9][9][9] trailing\r\nLast[ 4][5 ][6]");
    SignIn(L"A", L"PW1");
    EXPECT_EQ(GetPlayerProfile().name, L"A");
    EXPECT_EQ(GetPlayerProfile().password, L"PW1");
    EXPECT_EQ(Records(), "Song[1][-2][3]\nSong[9][9][9]\nLast[4][5][6]\n");
    EXPECT_EQ(GetHighScore(L"Song", 0), 1);  // the first of two records with one key
    RecordHighScore(L"Song", 0, 5);
    EXPECT_EQ(Read("Save/A.svd"), "PW1\nSong[5][-2][3]\nSong[9][9][9]\nLast[4][5][6]\n");

    Write("Save/B.svd", "");
    ASSERT_TRUE(LoadProfile(L"B"));
    EXPECT_EQ(GetPlayerProfile().password, L"");
    Write("Save/C.svd", "123\n");
    ASSERT_TRUE(LoadProfile(L"C"));
    EXPECT_EQ(GetPlayerProfile().password, L"123");
    EXPECT_EQ(Records(), "");
}

TEST_F(Profile, WritesTheFileByteForByte) {
    SignUp(L"P", L"0042");
    EXPECT_TRUE(SaveProfile());
    EXPECT_EQ(Read("Save/P.svd"), "0042\n");  // one line, and "Save" was made
    RecordHighScore(L"Song", 1, 900);
    RecordHighScore(L"Neg", 2, -2147483647 - 1);
    EXPECT_EQ(Read("Save/P.svd"), "0042\nSong[0][900][0]\nNeg[0][0][-2147483648]\n");
    EXPECT_EQ(Entries("Save"), std::vector<std::string>{"P.svd"});
}

TEST_F(Profile, JapaneseKeysRoundTripThroughCodePage932) {
    SignUp(L"J", L"X");
    RecordHighScore(L"\u66f2\u30bd", 0, 77);  // the second character's code holds a 0x5C byte
    EXPECT_EQ(Read("Save/J.svd"), "X\n\x8b\xc8\x83\\[77][0][0]\n");
    GetPlayerProfile() = PlayerProfile{};
    ASSERT_TRUE(LoadProfile(L"J"));
    EXPECT_EQ(GetHighScore(L"\u66f2\u30bd", 0), 77);
}

TEST_F(Profile, AKeyWithoutCodePage932FormRefusesTheWholeSave) {
    SignUp(L"K", L"X");
    RecordHighScore(L"Song", 0, 1);
    CaptureStderr();
    RecordHighScore(L"\U0001F3B5", 0, 2);  // no code page 932 form
    const std::string message = GetCapturedStderr();
    EXPECT_NE(message.find("has no code page 932 form"), std::string::npos) << message;
    EXPECT_EQ(Read("Save/K.svd"), "X\nSong[1][0][0]\n");
    EXPECT_FALSE(SaveProfile());
    EXPECT_EQ(Entries("Save"), std::vector<std::string>{"K.svd"});
}

TEST_F(Profile, AnAccountThatWouldNotReadBackIsNotWritten) {
    SignUp(L"R", L"X");
    ASSERT_TRUE(SaveProfile());
    CaptureStderr();
    GetPlayerProfile().password = L"X\r";
    EXPECT_FALSE(SaveProfile());
    GetPlayerProfile().password = std::wstring(260, L'P');
    EXPECT_FALSE(SaveProfile());
    GetPlayerProfile().password = L"X";
    GetPlayerProfile().records.push_back(ScoreRecord{std::wstring(260, L'k')});
    EXPECT_FALSE(SaveProfile());
    const std::string messages = GetCapturedStderr();
    EXPECT_NE(messages.find("password ends with a carriage return"), std::string::npos);
    EXPECT_NE(messages.find("password longer than 259 characters"), std::string::npos);
    EXPECT_EQ(Read("Save/R.svd"), "X\n");
}

TEST_F(Profile, AFailedSignInChangesNothing) {
    SignUp(L"A", L"PA");
    RecordHighScore(L"Song", 0, 10);
    const std::string before = Read("Save/A.svd");
    Write("Save/Bad.svd", "PB\nSong[1][2][3]\nOther[1][x][3]\n");
    Write("Save/Big.svd", "PB\n" + std::string(300, 'k') + "[1][2][3]\n");
    Write("Save/Enc.svd", "PB\n\x81\n");  // a lead byte with no trail byte
    CaptureStderr();
    EXPECT_FALSE(LoadProfile(L"Missing"));
    EXPECT_FALSE(LoadProfile(L"Bad"));
    EXPECT_FALSE(LoadProfile(L"Big"));
    EXPECT_FALSE(LoadProfile(L"Enc"));
    EXPECT_FALSE(LoadProfile(L"../A"));
    EXPECT_FALSE(LoadProfile(L""));
    const std::string messages = GetCapturedStderr();
    EXPECT_NE(messages.find("Save/Bad.svd:3: score 2 of \"Other\" \"x\": not a number"),
              std::string::npos);
    EXPECT_NE(messages.find("Save/Big.svd:2: music key longer than 259 characters"),
              std::string::npos);
    EXPECT_NE(messages.find("Save/Enc.svd: not valid code page 932 text"), std::string::npos);
    EXPECT_EQ(GetPlayerProfile().name, L"A");
    EXPECT_EQ(GetPlayerProfile().password, L"PA");
    EXPECT_EQ(Records(), "Song[10][0][0]\n");
    EXPECT_EQ(Read("Save/A.svd"), before);
}

TEST_F(Profile, OutOfRangeScoresFailTheSignIn) {
    Write("Save/R.svd", "P\nSong[1][2][2147483648]\n");
    CaptureStderr();
    EXPECT_FALSE(LoadProfile(L"R"));
    EXPECT_NE(
        GetCapturedStderr().find("Save/R.svd:2: score 3 of \"Song\" \"2147483648\": out of range"),
        std::string::npos);
    EXPECT_EQ(GetPlayerProfile().name, L"");
}

TEST_F(Profile, AnAccountSwitchKeepsEachAccountsRecordsInItsOwnFile) {
    Write("Save/B.svd", "PB\nBSong[5][5][5]\n");
    SignUp(L"A", L"PA");
    RecordHighScore(L"ASong", 0, 100);
    SignIn(L"B", L"PB");
    EXPECT_EQ(Records(), "BSong[5][5][5]\n");
    EXPECT_EQ(GetHighScore(L"ASong", 0), 0);
    RecordHighScore(L"BSong", 1, 50);
    ASSERT_TRUE(LoadProfile(L"A"));
    EXPECT_EQ(Records(), "ASong[100][0][0]\n");
    EXPECT_EQ(Read("Save/A.svd"), "PA\nASong[100][0][0]\n");
    EXPECT_EQ(Read("Save/B.svd"), "PB\nBSong[5][50][5]\n");
}

TEST_F(Profile, AWrongPasswordSignsOutWithoutLosingOrMovingScores) {
    Write("Save/B.svd", "PB\nBSong[5][5][5]\n");
    RecordHighScore(L"Guest", 0, 3);  // made while no account is signed in
    SignUp(L"A", L"PA");
    RecordHighScore(L"ASong", 0, 100);
    ASSERT_TRUE(LoadProfile(L"B"));
    ClearProfile();  // the typed password did not match
    EXPECT_EQ(GetPlayerProfile().name, L"");
    EXPECT_EQ(Read("Save/A.svd"), "PA\nGuest[3][0][0]\nASong[100][0][0]\n");
    EXPECT_EQ(Read("Save/B.svd"), "PB\nBSong[5][5][5]\n");
    EXPECT_EQ(Records(), "");  // the guest's scores went into the account signed up with them
}

TEST_F(Profile, GuestScoresStayOutOfAnAccountSignedInToAndComeBackAtSignOut) {
    Write("Save/B.svd", "PB\nBSong[5][5][5]\n");
    RecordHighScore(L"Guest", 0, 3);
    ASSERT_TRUE(LoadProfile(L"B"));
    EXPECT_EQ(Records(), "BSong[5][5][5]\n");
    ClearProfile();
    EXPECT_EQ(Records(), "Guest[3][0][0]\n");
    EXPECT_EQ(Read("Save/B.svd"), "PB\nBSong[5][5][5]\n");
}

TEST_F(Profile, ASignUpLeftInThePasswordEntryCreatesNoFile) {
    RecordHighScore(L"Guest", 0, 3);
    ASSERT_TRUE(SignUpProfile(L"N"));
    ClearProfile();  // Backspace out of the password entry
    EXPECT_EQ(Read("Save/N.svd"), "<missing>");
    EXPECT_EQ(Records(), "Guest[3][0][0]\n");

    SignUp(L"A", L"PA");
    RecordHighScore(L"ASong", 0, 1);
    ASSERT_TRUE(SignUpProfile(L"N"));
    EXPECT_EQ(Records(), "");  // A's records stay A's
    ClearProfile();
    EXPECT_EQ(Read("Save/N.svd"), "<missing>");
    EXPECT_EQ(Read("Save/A.svd"), "PA\nGuest[3][0][0]\nASong[1][0][0]\n");
}

TEST_F(Profile, AnAccountWaitingForItsPasswordIsNeverWritten) {
    const std::string stored = "PA\r\nSong[01][2][3] note\r\n";
    Write("Save/A.svd", stored);
    Write("Save/B.svd", "PB\n");
    RecordHighScore(L"Guest", 0, 3);
    ASSERT_TRUE(LoadProfile(L"A"));
    EXPECT_FALSE(ConfirmSignIn(L"pa"));
    EXPECT_EQ(GetPlayerProfile().state, AccountState::kSigningIn) << "a wrong try changes nothing";
    RecordHighScore(L"Song", 0, 50);
    EXPECT_TRUE(SaveProfile());
    ASSERT_TRUE(LoadProfile(L"B"));  // another sign-in drops A unwritten
    EXPECT_EQ(Records(), "");
    ASSERT_TRUE(SignUpProfile(L"C"));  // so does a sign-up, which takes the guest's scores
    EXPECT_EQ(Records(), "Guest[3][0][0]\n");
    EXPECT_FALSE(ConfirmSignIn(L"")) << "a sign-up is not a sign-in";
    EXPECT_TRUE(SaveProfile());
    EXPECT_EQ(Read("Save/A.svd"), stored);
    EXPECT_EQ(Read("Save/B.svd"), "PB\n");
    EXPECT_EQ(Read("Save/C.svd"), "<missing>");
}

TEST_F(Profile, SignUpCannotOverwriteAnAccount) {
    Write("Save/TAKEN.svd", "P\nSong[1][1][1]\n");
    RecordHighScore(L"Guest", 0, 3);
    EXPECT_TRUE(ProfileExists(L"TAKEN"));
    EXPECT_FALSE(ProfileExists(L"FREE"));
    EXPECT_FALSE(SignUpProfile(L"TAKEN"));
    EXPECT_FALSE(SignUpProfile(L""));
    EXPECT_FALSE(SignUpProfile(L"a/b"));
    EXPECT_EQ(GetPlayerProfile().name, L"");
    EXPECT_EQ(Records(), "Guest[3][0][0]\n");
    EXPECT_EQ(Read("Save/TAKEN.svd"), "P\nSong[1][1][1]\n");
}

TEST_F(Profile, ASignInWaitsUntilTheSignedInAccountIsSaved) {
    Write("Save/B.svd", "PB\n");
    SignUp(L"A", L"PA");
    platform::SetAtomicWriteHookForTesting([](const char*) { return false; });
    CaptureStderr();
    RecordHighScore(L"ASong", 0, 100);  // cannot be written now
    EXPECT_FALSE(LoadProfile(L"B"));
    EXPECT_NE(GetCapturedStderr().find("could not be saved first"), std::string::npos);
    EXPECT_EQ(GetPlayerProfile().name, L"A");
    EXPECT_EQ(Records(), "ASong[100][0][0]\n");
    platform::SetAtomicWriteHookForTesting(nullptr);
    EXPECT_TRUE(SaveProfile());
    EXPECT_EQ(Read("Save/A.svd"), "PA\nASong[100][0][0]\n");
}

// Ends the process as a crash would, just before the new file replaces the old one.
bool CrashBeforeRename(const char* step) {
    if (std::string(step) == "rename") ::_exit(3);
    return true;
}

TEST_F(Profile, AWriteInterruptedBeforeTheRenameLeavesTheOldSaveWhole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Write("Save/A.svd", "PA\nSong[1][0][0]\n");
    SignIn(L"A", L"PA");
    EXPECT_EXIT(
        {
            platform::SetAtomicWriteHookForTesting(CrashBeforeRename);
            RecordHighScore(L"Song", 0, 2);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(Read("Save/A.svd"), "PA\nSong[1][0][0]\n");
}

}  // namespace
