// Operating-system errors: each errno as the original platform numbers the same condition,
// and files that cannot be opened reported with that code and the system's own words.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "../media/LoopbackFixture.h"
#include "audio/SoundManager.h"
#include "media/SystemError.h"
#include "platform/Codepage.h"

using namespace DirectX;

TEST(SystemError, ErrnoTakesThePlatformsNumberForTheSameCondition) {
    const std::pair<int, HRESULT> table[] = {
        {ENOENT, 0x80070002}, {ENOTDIR, 0x80070003}, {EACCES, 0x80070005},
        {EPERM, 0x80070005},  {EISDIR, 0x80070005},  {ENOMEM, 0x80070008},
        {EIO, 0x8007001E},    {EBUSY, 0x80070020},   {EAGAIN, 0x80070021},
        {ENOSPC, 0x80070070}, {EMFILE, 0x80070004},  {ENAMETOOLONG, 0x800700CE},
        {ELOOP, 0x80070781},  {ECONNRESET, kFail},
    };
    for (const auto& [error, code] : table) EXPECT_EQ(HresultFromErrno(error), code) << error;
    // Permission denied (13) is no longer read as "no data chunk" (0x8007000D), nor an I/O
    // error (5) as access denied (0x80070005).
    EXPECT_NE(HresultFromErrno(EACCES), kInvalidData);
    EXPECT_NE(HresultFromErrno(EIO), 0x80070005u);
    EXPECT_EQ(SystemErrorText(EACCES), "Permission denied");
}

namespace {

class OpenErrors : public LoopbackTest {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        SoundManager::Get().engine = std::make_unique<AudioEngine>();
    }
    void TearDown() override {
        SoundManager::Get().ReleaseAll();
        SoundManager::Get().engine.reset();
        LoopbackTest::TearDown();
    }
    // The line PlayMusic prints for "Data/Music/" + name.
    static std::string LineFor(const std::wstring& name) {
        testing::internal::CaptureStderr();
        SoundManager::Get().PlayMusic(name, 1.0f);
        return testing::internal::GetCapturedStderr();
    }
};

}  // namespace

TEST_F(OpenErrors, EachFailedOpenPrintsItsCodeAndTheSystemsWords) {
    WriteFile("Data/Music/A/A.wav", CountingStereo(100));
    std::filesystem::create_directories("Data/Music/A/Folder.wav");
    std::filesystem::create_symlink("Loop.wav", "Data/Music/A/Loop.wav");
    const std::pair<std::wstring, std::string> table[] = {
        {L"A/None.wav", "No such file or directory (error 80070002)"},
        {L"None/None.wav", "No such file or directory (error 80070003)"},
        {L"A/A.wav/A.wav", "Not a directory (error 80070003)"},
        {L"A/Folder.wav", "Is a directory (error 80070005)"},
        {L"A/Loop.wav", "Too many levels of symbolic links (error 80070781)"},
        {L"A/" + std::wstring(300, L'x') + L".wav", "File name too long (error 800700CE)"},
        {L"A/None.ogg", "No such file or directory (error 80070002)"},
    };
    for (const auto& [name, words] : table) {
        const std::string line = LineFor(name);
        EXPECT_NE(line.find("lyrandel: Data/Music/" + platform::WideToUtf8(name) + ": " + words +
                            "; playing nothing\n"),
                  std::string::npos)
            << line;
    }
    // Only a user without every right can be refused a file (the test may run as root).
    if (geteuid() != 0) {
        std::filesystem::permissions("Data/Music/A/A.wav", std::filesystem::perms::none);
        EXPECT_NE(LineFor(L"A/A.wav").find("Permission denied (error 80070005)"),
                  std::string::npos);
    }
}
