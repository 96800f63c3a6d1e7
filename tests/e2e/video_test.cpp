// The renderer's video export and progress: ffmpeg writes the video and reads it back to compare.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "child_process.h"
#include "tone_mp3.h"

namespace {

// What `pattern`'s first group matches in `text`, as a number; NaN when nothing does.
double numberIn(const std::string& text, const std::string& pattern) {
    std::smatch found;
    return std::regex_search(text, found, std::regex(pattern)) ? std::stod(found[1]) : NAN;
}

// A file's video ("v") or audio ("a") stream as "key=value" lines; empty when it has none.
std::string probe(const std::string& file, const char* stream) {
    return runProcess({"ffprobe", "-v", "error", "-count_frames", "-select_streams", stream,
                       "-show_streams", "-of", "default=nw=1", file},
                      ".")
        .out;
}

// How closely frame `frame` of a video shows a picture, in decibels of peak signal to noise.
double likeness(const std::string& video, int frame, const std::string& png) {
    const std::string filter = "[0:v]select=eq(n\\," + std::to_string(frame) + ")[f];[f][1:v]psnr";
    const ProcessResult run = runProcess(
        {"ffmpeg", "-i", video, "-i", png, "-filter_complex", filter, "-f", "null", "-"}, ".");
    return numberIn(run.err, "PSNR.* average:([0-9.inf]+)");
}

// The mean volume of a file's sound over a span such as "atrim=1:2" (seconds), in decibels.
double volume(const std::string& file, const std::string& span) {
    const ProcessResult run =
        runProcess({"ffmpeg", "-i", file, "-af", span + ",volumedetect", "-f", "null", "-"}, ".");
    return numberIn(run.err, "mean_volume: (-?[0-9.]+) dB");
}

TEST(Video, HoldsEveryFrameFromTheFirstListedToTheLastAsH264WithoutSoundAndMatchesThePngs) {
    // The video takes the 60 frames between; the name's quotes would break a shell.
    TempFolder folder;
    const std::string video = "Ombra's \"first\" second.mp4";
    const ProcessResult result = runCapture(
        {"--video", video, "--out", "pngs", "--frames", "179,120", "--seed", "7", "--silent"},
        folder.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{video, "pngs"}));

    const std::string stream = probe(folder / video, "v");
    for (const char* field : {"codec_name=h264\n", "pix_fmt=yuv420p\n", "width=640\n",
                              "height=480\n", "nb_read_frames=60\n", "duration=1.000000\n"}) {
        EXPECT_NE(stream.find(field), std::string::npos) << field << " not in\n" << stream;
    }
    EXPECT_EQ(probe(folder / video, "a"), "") << "--silent, so no sound";
    // The same frame shows above 50 dB, one a second away near 30.
    EXPECT_GT(likeness(folder / video, 59, folder / "pngs/frame_000179.png"), 45);
    EXPECT_LT(likeness(folder / video, 0, folder / "pngs/frame_000179.png"), 40);

    EXPECT_TRUE(std::regex_search(
        result.err, std::regex(R"((frame \d+ / 180 \(\d+%\)[^\n\r]*\n){5,}rendered 180 frames)")))
        << result.err;
}

// Containers by extension, MP4's and QuickTime's index ahead of the data; x264's settings in the
// stream: subme=1 for 1080p's "superfast", 2 for smaller frames' "veryfast", 7 for "medium" given.
TEST(Video, At1080pShowsThePngsFramesAsBt601WithAFasterPresetInTheContainerNamed) {
    TempFolder folder;
    const struct {
        const char *name, *sign, *setting, *size;
        std::vector<std::string> args;
    } videos[] = {
        {"v.mp4", "ftypisom", "subme=1", "1920x1080", {"--out", "pngs", "--frames", "178,179"}},
        {"v.mkv", "matroska", "subme=2", "1280x960", {"--frames", "0"}},
        {"v.MOV", "ftypqt  ", "subme=7", "1920x1080", {"--preset", "medium", "--frames", "0"}}};
    for (auto [name, sign, setting, size, args] : videos) {
        args.insert(args.end(), {"--video", name, "--size", size, "--quiet"});
        const ProcessResult result = runCapture(args, folder.path());
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string bytes = readFile(folder / name);
        EXPECT_LT(bytes.find(sign), 64u) << name;
        EXPECT_TRUE(name[3] == 'k' || bytes.find("moov") < bytes.find("mdat")) << name;
        EXPECT_NE(bytes.find(" " + std::string(setting) + " "), std::string::npos) << setting;
    }
    const std::string stream = probe(folder / "v.mp4", "v");
    for (const char* field :
         {"width=1920\n", "height=1080\n", "nb_read_frames=2\n", "color_range=tv\n",
          "color_space=smpte170m\n", "color_primaries=smpte170m\n", "color_transfer=smpte170m\n"}) {
        EXPECT_NE(stream.find(field), std::string::npos) << field << " not in\n" << stream;
    }
    EXPECT_GT(likeness(folder / "v.mp4", 1, folder / "pngs/frame_000179.png"), 45);
}

TEST(Video, CarriesOmbraMp3FromTheFirstFramesTimePaddedWithSilenceToTheVideosLength) {
    // 1.625 s of silence, then 1 s of noise; frames 13-28 at 8 fps are the two seconds from
    // 1.625 s, a time no whole second or neighbouring frame shares.
    TempFolder folder;
    ASSERT_TRUE(runShell("sox -n -r 44100 -c 2 -t wav - synth 1 whitenoise vol 0.5 pad 1.625 0 | "
                         "lame --quiet - Ombra.mp3",
                         folder.path()));
    const ProcessResult result = runCapture(
        {"--video", "v.mp4", "--fps", "8", "--frames", "13-28", "--quiet"}, folder.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "") << "--quiet showed progress";

    const std::string video = probe(folder / "v.mp4", "v");
    const std::string audio = probe(folder / "v.mp4", "a");
    EXPECT_NE(video.find("nb_read_frames=16\n"), std::string::npos) << "cut to the sound";
    EXPECT_NE(audio.find("codec_name=aac\n"), std::string::npos) << audio;
    EXPECT_NEAR(numberIn(audio, "duration=(.*)"), 2.0, 0.05) << "not cut to the video";
    EXPECT_GT(volume(folder / "v.mp4", "atrim=0.005:0.025"), -30) << "no sound at the start";
    EXPECT_GT(volume(folder / "v.mp4", "atrim=0.975:0.995"), -30) << "starts early or after 2 s";
    EXPECT_LT(volume(folder / "v.mp4", "atrim=1.005:1.995"), -60) << "starts late or not padded";
}

// Without Ombra.mp3 in the working directory: the one beside the program, else the first of the
// XDG data folders holding one: a broken one in the second is taken after one in the first, and
// one beside a copy of the program before both. (The built-in soundtrack's tests read the line
// naming the places where there is none.)
TEST(Video, TakesOmbraMp3FromBesideTheProgramThenTheFirstDataFolderHoldingOne) {
    TempFolder folder;
    const Environment data{"XDG_DATA_HOME=" + folder / "home",
                           "XDG_DATA_DIRS=" + folder / "a" + ":" + folder / "b"};
    ASSERT_TRUE(runShell("mkdir -p a/ombra b/ombra bin && echo no mp3 > b/ombra/Ombra.mp3 && " +
                             toneMp3Command("a/ombra/Ombra.mp3", "1") +
                             " && cp a/ombra/Ombra.mp3 " + builtProgram("ombra-capture") + " bin/",
                         folder.path()));
    for (const std::string& program :
         {builtProgram("ombra-capture"), folder / "bin/ombra-capture"}) {
        const ProcessResult result =
            runProcess({program, "--video", "v.mp4", "--frames", "0-9", "--quiet"}, folder.path(),
                       std::chrono::seconds(120), data);
        EXPECT_EQ(result.err, "") << program;
        EXPECT_NE(probe(folder / "v.mp4", "a").find("codec_name=aac\n"), std::string::npos);
        std::filesystem::remove(folder / "a/ombra/Ombra.mp3");
    }
}

TEST(VideoFailure, AMissingOrFailingFfmpegLeavesNoVideoAndAnOlderFileUntouched) {
    // A stand-in ffmpeg's script (none: not on the PATH), and what stderr must say.
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "ffmpeg"},
        {"echo 'cannot cope' >&2; exit 3", "cannot cope"},
        {"head -c 921600 > /dev/null; exit 0", "ffmpeg"}, // takes two frames, says all is well
        {"cat >/dev/null; seq 30 >&2; echo 'disk full' >&2; exit 1", "status 1)\n  ffmpeg: 24\n"},
    };
    for (const auto& [ffmpeg, message] : cases) {
        SCOPED_TRACE(ffmpeg ? ffmpeg : "no ffmpeg");
        TempFolder folder;
        std::filesystem::create_directory(folder / "bin");
        std::string path = folder / "bin";
        if (ffmpeg) {
            std::ofstream(folder / "bin/ffmpeg") << "#!/bin/sh\n" << ffmpeg << "\n";
            std::filesystem::permissions(folder / "bin/ffmpeg", std::filesystem::perms::owner_all);
            path += ":" + std::string(std::getenv("PATH"));
        }
        std::ofstream(folder / "v.mp4") << "an older video";
        const ProcessResult result = runCapture({"--video", "v.mp4", "--frames", "0-29", "--quiet"},
                                                folder.path(), {"PATH=" + path});
        EXPECT_GT(result.exitCode, 0) << "succeeded, or -1: ended by a signal or hung";
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(readFile(folder / "v.mp4"), "an older video");
        EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"bin", "v.mp4"}));
    }
}

// A render killed outright leaves its partial video behind under its process id; a later render
// that gets the same id takes the name over, unless a live process still holds the file.
TEST(VideoFailure, APartialVideoLeftByAnEndedRenderIsTakenOverAndAHeldOneIsNot) {
    const std::string render =
        builtProgram("ombra-capture") + " --video v.mp4 --frames 0-2 --quiet";
    const std::pair<std::string, int> cases[] = {
        {"echo left > v.mp4.$$.part && exec " + render, 0},
        {"exec 3>v.mp4.$$.part && echo held >&3 && flock 3 && exec " + render, 1}};
    for (const auto& [script, exitCode] : cases) {
        SCOPED_TRACE(script);
        TempFolder folder;
        const ProcessResult result = runProcess({"sh", "-c", script}, folder.path());
        EXPECT_EQ(result.exitCode, exitCode) << result.err;
        const std::set<std::string> files = filesIn(folder.path());
        if (exitCode == 0) {
            EXPECT_EQ(files, std::set<std::string>{"v.mp4"});
            EXPECT_NE(probe(folder / "v.mp4", "v").find("nb_read_frames=3\n"), std::string::npos);
        } else {
            EXPECT_NE(result.err.find("cannot write v.mp4: File exists"), std::string::npos)
                << result.err;
            ASSERT_EQ(files.size(), 1u);
            EXPECT_EQ(readFile(folder / *files.begin()), "held\n");
        }
    }
}

// The status shows in place from the first frame on, whatever the machine's speed.
TEST(VideoOnATerminal, ShowsProgressInPlaceAndSaysOnceThatABrokenSoundtrackLeavesItSilent) {
    TempFolder folder;
    std::ofstream(folder / "Ombra.mp3") << "this is not an MP3 file";
    const std::string command =
        builtProgram("ombra-capture") + " --video v.mp4 --fps 10 --frames 0-49";
    const ProcessResult shown =
        runProcess({"script", "-qefc", command, "/dev/null"}, folder.path());
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_NE(shown.out.find("\rframe 1 / 50 (2%), "), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("\nframe "), std::string::npos) << "progress on lines of its own";
    const std::regex summary(R"(\rrendered 50 frames in [0-9:]+, [0-9.]+ frames/s *\r?\n$)");
    EXPECT_TRUE(std::regex_search(shown.out, summary)) << shown.out;
    const std::size_t said =
        shown.out.find("Ombra.mp3 holds no playable MP3: the video has no sound");
    EXPECT_NE(said, std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.rfind("Ombra.mp3"), said) << "said more than once: " << shown.out;
    EXPECT_EQ(probe(folder / "v.mp4", "a"), "");
}

} // namespace
