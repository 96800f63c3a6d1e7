// The offline renderer's video export and progress end to end: the real ffmpeg writes the video,
// ffprobe and ffmpeg read it back, and the pictures and sound are compared with their sources.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

constexpr int width = 640;
constexpr int height = 480;
constexpr int audioRate = 44100;

ProcessResult capture(const std::vector<std::string>& args, const TempFolder& workingFolder,
                      const Environment& changes = {}) {
    std::vector<std::string> command{builtProgram("ombra-capture")};
    command.insert(command.end(), args.begin(), args.end());
    return runProcess(command, workingFolder.path(), std::chrono::seconds(120), changes);
}

ProcessResult run(const std::vector<std::string>& command, const TempFolder& workingFolder) {
    return runProcess(command, workingFolder.path());
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// --- Reading a video back -------------------------------------------------------------------

// One "key=value" map per stream, as ffprobe's compact output gives them, and the container's.
struct Probe {
    std::vector<std::map<std::string, std::string>> streams;
    std::map<std::string, std::string> format;

    std::map<std::string, std::string> streamOf(const std::string& type) const {
        for (const auto& stream : streams) {
            if (stream.at("codec_type") == type) {
                return stream;
            }
        }
        return {};
    }
};

Probe probe(const std::string& path, const TempFolder& folder) {
    const ProcessResult result =
        run({"ffprobe", "-v", "error", "-count_frames", "-show_entries",
             "stream=codec_type,codec_name,pix_fmt,width,height,nb_read_frames,duration:"
             "format=duration",
             "-of", "compact", path},
            folder);
    Probe probed;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::map<std::string, std::string> fields;
        std::istringstream parts(line);
        std::string part;
        std::getline(parts, part, '|');
        const std::string section = part;
        while (std::getline(parts, part, '|')) {
            const auto equals = part.find('=');
            fields[part.substr(0, equals)] = part.substr(equals + 1);
        }
        if (section == "stream") {
            probed.streams.push_back(fields);
        } else if (section == "format") {
            probed.format = fields;
        }
    }
    return probed;
}

double number(const std::map<std::string, std::string>& fields, const std::string& key) {
    const auto found = fields.find(key);
    return found == fields.end() ? -1.0 : std::atof(found->second.c_str());
}

// The video's frame `index` decoded to RGB, top row first.
std::string decodeFrame(const std::string& video, int index, const TempFolder& folder) {
    return run({"ffmpeg", "-v", "error", "-i", video, "-vf",
                "select=eq(n\\," + std::to_string(index) + ")", "-frames:v", "1", "-f", "rawvideo",
                "-pix_fmt", "rgb24", "pipe:1"},
               folder)
        .out;
}

// A file's first audio stream decoded to mono 16-bit samples at 44.1 kHz.
std::vector<std::int16_t> decodeAudio(const std::string& file, const TempFolder& folder) {
    const std::string bytes = run({"ffmpeg", "-v", "error", "-i", file, "-map", "0:a:0", "-ac", "1",
                                   "-ar", std::to_string(audioRate), "-f", "s16le", "pipe:1"},
                                  folder)
                                  .out;
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(samples.size() * 2),
              reinterpret_cast<char*>(samples.data()));
    return samples;
}

double rms(const std::vector<std::int16_t>& samples, std::size_t begin, std::size_t end) {
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

// The lag, in samples, at which `part` best matches `source` shifted by `offset` samples, searched
// within +-`reach`, with the normalised correlation found there.
struct Match {
    long lag = 0;
    double correlation = 0;
};

Match bestMatch(const std::vector<std::int16_t>& part, std::size_t begin, std::size_t end,
                const std::vector<std::int16_t>& source, long offset, long reach) {
    Match best{0, -2.0};
    for (long lag = -reach; lag <= reach; ++lag) {
        double product = 0, partEnergy = 0, sourceEnergy = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const double a = part[i];
            const double b = source[static_cast<std::size_t>(static_cast<long>(i) + offset + lag)];
            product += a * b;
            partEnergy += a * a;
            sourceEnergy += b * b;
        }
        const double correlation = product / std::sqrt(partEnergy * sourceEnergy + 1e-9);
        if (correlation > best.correlation) {
            best = {lag, correlation};
        }
    }
    return best;
}

// Noise in stereo for `seconds`, as the MP3 the renderer finds in its working folder.
void makeNoiseSoundtrack(double seconds, const TempFolder& folder) {
    ASSERT_EQ(run({"sox", "-n", "-r", std::to_string(audioRate), "-c", "2", "noise.wav", "synth",
                   std::to_string(seconds), "whitenoise", "vol", "0.5"},
                  folder)
                  .exitCode,
              0);
    ASSERT_EQ(run({"lame", "--quiet", "-b", "192", "noise.wav", "Ombra.mp3"}, folder).exitCode, 0);
    std::filesystem::remove(folder / "noise.wav");
}

// --- Pictures -------------------------------------------------------------------------------

// Mean of each channel over 8 x 8 blocks: the video's 4:2:0 colour halves the colour resolution
// and H.264 rounds a little, so single pixels may differ where whole blocks agree.
std::vector<double> blockMeans(const std::uint8_t* rgb) {
    constexpr int block = 8;
    std::vector<double> means;
    for (int by = 0; by < height; by += block) {
        for (int bx = 0; bx < width; bx += block) {
            for (int channel = 0; channel < 3; ++channel) {
                double sum = 0;
                for (int y = by; y < by + block; ++y) {
                    for (int x = bx; x < bx + block; ++x) {
                        sum += rgb[(y * width + x) * 3 + channel];
                    }
                }
                means.push_back(sum / (block * block));
            }
        }
    }
    return means;
}

void expectSamePicture(const std::string& videoFrame, const std::string& pngPath) {
    SCOPED_TRACE(pngPath);
    const PngPicture png = readPng(pngPath);
    ASSERT_TRUE(png.readable);
    ASSERT_EQ(png.rows.size(), static_cast<std::size_t>(width * height * 3));
    ASSERT_EQ(videoFrame.size(), png.rows.size());
    const auto* decoded = reinterpret_cast<const std::uint8_t*>(videoFrame.data());
    const std::vector<double> expected = blockMeans(png.rows.data());
    const std::vector<double> actual = blockMeans(decoded);
    double largest = 0, total = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const double difference = std::abs(expected[i] - actual[i]);
        largest = std::max(largest, difference);
        total += difference;
    }
    EXPECT_LT(largest, 12.0) << "a block differs from the PNG";
    EXPECT_LT(total / static_cast<double>(expected.size()), 1.5);
    // Something must be on screen for the comparison to mean anything.
    const auto [darkest, brightest] = std::minmax_element(expected.begin(), expected.end());
    EXPECT_GT(*brightest - *darkest, 60.0) << "the frame is nearly uniform";
}

// --- Command line ---------------------------------------------------------------------------

TEST(VideoCommandLine, HelpDescribesTheVideoAndQuietAndEveryBadCallFailsBeforeRendering) {
    TempFolder folder;
    const ProcessResult help = capture({"--help"}, folder);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* text : {"--video", "--quiet", "--out", "ffmpeg", "Ombra.mp3"}) {
        EXPECT_NE(help.out.find(text), std::string::npos) << "usage does not mention " << text;
    }

    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> named; // what the message names
    };
    const std::vector<Case> cases = {
        {{"--frames", "0-9"}, {"--out", "--video"}},
        {{"--quiet"}, {"--out", "--video"}},
        {{"--video"}, {"--video"}},
        {{"--video", ""}, {"--video"}},
        {{"--video", "v.mp4", "--quiet=yes"}, {"--quiet"}},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE("case with " + std::to_string(bad.args.size()) + " arguments, first " +
                     bad.args[0]);
        const ProcessResult result = capture(bad.args, folder);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.exitCode, -1) << "ended by a signal";
        for (const std::string& named : bad.named) {
            EXPECT_NE(result.err.find(named), std::string::npos) << "stderr: " << result.err;
        }
        EXPECT_EQ(result.out, "") << "it started playing";
    }
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{});
}

// --- Video ----------------------------------------------------------------------------------

TEST(Video, HoldsEveryFrameFromTheFirstListedToTheLastAsH264WithoutSoundAndMatchesThePngs) {
    // Frames 120 and 179 as PNG; the video takes the 60 frames between, a second at 60 fps. The
    // name has a space and quotes: nothing passes it through a shell.
    TempFolder folder;
    const std::string video = "Ombra's \"first\" second.mp4";
    const ProcessResult result =
        capture({"--video", video, "--out", "pngs", "--frames", "179,120", "--seed", "7"}, folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{video, "pngs"}));
    EXPECT_EQ(filesIn(folder / "pngs"),
              (std::set<std::string>{"frame_000120.png", "frame_000179.png", "frames.csv"}));

    const Probe probed = probe(folder / video, folder);
    ASSERT_EQ(probed.streams.size(), 1u) << "no Ombra.mp3 here, so no sound track";
    const auto stream = probed.streamOf("video");
    EXPECT_EQ(stream.at("codec_name"), "h264");
    EXPECT_EQ(stream.at("pix_fmt"), "yuv420p");
    EXPECT_EQ(stream.at("width"), "640");
    EXPECT_EQ(stream.at("height"), "480");
    EXPECT_EQ(stream.at("nb_read_frames"), "60");
    EXPECT_NEAR(number(stream, "duration"), 1.0, 1e-3);
    EXPECT_NEAR(number(probed.format, "duration"), 1.0, 1e-3);

    expectSamePicture(decodeFrame(folder / video, 0, folder), folder / "pngs/frame_000120.png");
    expectSamePicture(decodeFrame(folder / video, 59, folder), folder / "pngs/frame_000179.png");

    // Not a terminal: progress comes as plain lines, counting up to the last frame.
    EXPECT_EQ(result.err.find('\r'), std::string::npos);
    const std::regex progressLine(R"(^frame (\d+) / (\d+) \((\d+)%\).*$)");
    std::istringstream lines(result.err);
    std::string line;
    std::vector<int> counts;
    while (std::getline(lines, line)) {
        std::smatch parts;
        if (std::regex_match(line, parts, progressLine)) {
            EXPECT_EQ(parts[2], "180") << line;
            counts.push_back(std::stoi(parts[1]));
        }
    }
    EXPECT_GE(counts.size(), 5u) << result.err;
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end())) << result.err;
    EXPECT_NE(result.err.find("rendered 180 frames"), std::string::npos) << result.err;
}

TEST(Video, CarriesOmbraMp3FromTheFirstFramesTimePaddedWithSilenceToTheVideosLength) {
    // 10 fps: frames 20 to 39 are two seconds starting 2 s into the production. The soundtrack
    // is 3 s of noise, so the video's sound is its last second, then a second of silence.
    TempFolder folder;
    makeNoiseSoundtrack(3.0, folder);
    const ProcessResult result =
        capture({"--video", "v.mp4", "--fps", "10", "--frames", "20-39", "--quiet"}, folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err.find("frame "), std::string::npos) << "--quiet showed progress";
    EXPECT_EQ(result.err.find("rendered"), std::string::npos) << "--quiet showed progress";

    const Probe probed = probe(folder / "v.mp4", folder);
    ASSERT_EQ(probed.streams.size(), 2u);
    const auto video = probed.streamOf("video");
    const auto audio = probed.streamOf("audio");
    EXPECT_EQ(video.at("nb_read_frames"), "20") << "the video was cut to the sound";
    EXPECT_NEAR(number(video, "duration"), 2.0, 1e-3);
    ASSERT_EQ(audio.count("codec_name"), 1u) << "no sound track";
    EXPECT_EQ(audio.at("codec_name"), "aac");
    EXPECT_NEAR(number(audio, "duration"), number(video, "duration"), 0.05);

    const std::vector<std::int16_t> source = decodeAudio(folder / "Ombra.mp3", folder);
    const std::vector<std::int16_t> muxed = decodeAudio(folder / "v.mp4", folder);
    ASSERT_GE(muxed.size(), static_cast<std::size_t>(1.9 * audioRate));
    // Its first half second is the source from 2 s on: the best match lies within a millisecond.
    const Match match =
        bestMatch(muxed, audioRate / 10, audioRate * 6 / 10, source, 2 * audioRate, audioRate / 20);
    EXPECT_GT(match.correlation, 0.8);
    EXPECT_LE(std::abs(match.lag), audioRate / 1000) << "the sound is off by " << match.lag;
    // After the soundtrack's end, silence.
    const double loud = rms(muxed, audioRate / 10, audioRate * 9 / 10);
    const double padded = rms(muxed, audioRate * 11 / 10, audioRate * 19 / 10);
    EXPECT_GT(loud, 1000.0);
    EXPECT_LT(padded, loud / 100);
}

// --- Failures -------------------------------------------------------------------------------

// A stand-in for ffmpeg in a folder put first on PATH: a shell script with the given body.
Environment pathWithFfmpeg(const TempFolder& folder, const std::string& body) {
    std::filesystem::create_directories(folder / "bin");
    std::ofstream(folder / "bin/ffmpeg") << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(folder / "bin/ffmpeg", std::filesystem::perms::owner_all);
    return {"PATH=" + (folder / "bin") + ":" + std::getenv("PATH")};
}

TEST(VideoFailure, NoFfmpegOrNoFolderFailsBeforeRenderingWithAClearMessage) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "empty");
    const ProcessResult noFfmpeg =
        capture({"--video", "v.mp4", "--frames", "0-9"}, folder, {"PATH=" + (folder / "empty")});
    EXPECT_NE(noFfmpeg.exitCode, 0);
    EXPECT_NE(noFfmpeg.exitCode, -1) << "ended by a signal";
    EXPECT_NE(noFfmpeg.err.find("ffmpeg"), std::string::npos) << noFfmpeg.err;
    EXPECT_EQ(noFfmpeg.out, "") << "it rendered without a way to encode";

    const std::string missing = folder / "no such folder/v.mp4";
    const ProcessResult noFolder = capture({"--video", missing, "--frames", "0-9"}, folder);
    EXPECT_NE(noFolder.exitCode, 0);
    EXPECT_NE(noFolder.exitCode, -1) << "ended by a signal";
    EXPECT_NE(noFolder.err.find(missing), std::string::npos) << noFolder.err;
    EXPECT_EQ(noFolder.out, "") << "it rendered for a file it cannot write";

    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"empty"}));
}

TEST(VideoFailure, AnFfmpegThatFailsLeavesNoVideoAndAnOlderFileUntouched) {
    struct Case {
        const char* what;
        std::string ffmpeg;  // a stand-in's script
        std::string message; // what stderr must say
    };
    const std::vector<Case> cases = {
        {"dies at once", "echo 'cannot cope' >&2; exit 3", "cannot cope"},
        {"stops reading after two frames but says all is well",
         "head -c 1843200 > /dev/null; exit 0", "ffmpeg"},
        {"reads everything and then fails", "cat > /dev/null; echo 'disk full' >&2; exit 1",
         "disk full"},
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(std::string("ffmpeg ") + failing.what);
        TempFolder folder;
        const Environment environment = pathWithFfmpeg(folder, failing.ffmpeg);
        std::ofstream(folder / "v.mp4") << "an older video";
        const std::set<std::string> before = filesIn(folder.path());

        const ProcessResult result =
            capture({"--video", "v.mp4", "--frames", "0-29", "--quiet"}, folder, environment);
        EXPECT_FALSE(result.timedOut);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.exitCode, -1) << "ended by a signal";
        EXPECT_NE(result.err.find(failing.message), std::string::npos) << result.err;
        EXPECT_EQ(readFile(folder / "v.mp4"), "an older video");
        EXPECT_EQ(filesIn(folder.path()), before) << "a partial video was left behind";
    }
}

TEST(Video, OfABrokenSoundtrackIsSilentLikeTheDemo) {
    TempFolder folder;
    std::ofstream(folder / "Ombra.mp3") << "this is not an MP3 file";
    const ProcessResult result =
        capture({"--video", "v.mp4", "--frames", "0-29", "--quiet"}, folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("the video has no sound"), std::string::npos) << result.err;
    const Probe probed = probe(folder / "v.mp4", folder);
    ASSERT_EQ(probed.streams.size(), 1u);
    EXPECT_EQ(probed.streamOf("video").at("nb_read_frames"), "30");
}

// --- Progress on a terminal -----------------------------------------------------------------

// Runs the renderer with a terminal as its stdout and stderr, and returns what it showed there.
std::string runOnTerminal(const std::vector<std::string>& args, const TempFolder& folder,
                          int& exitCode) {
    std::vector<std::string> command{builtProgram("ombra-capture")};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : command) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        if (chdir(folder.path().c_str()) == 0) {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    std::string shown;
    if (child < 0) {
        exitCode = -1;
        return shown;
    }
    char chunk[4096];
    ssize_t got = 0;
    // The read fails with EIO once the child has closed the terminal.
    while ((got = read(terminal, chunk, sizeof chunk)) > 0) {
        shown.append(chunk, static_cast<std::size_t>(got));
    }
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return shown;
}

TEST(Progress, OnATerminalIsRewrittenInPlaceAndEndsWithOneSummaryLine) {
    TempFolder folder;
    int exitCode = -1;
    const std::string shown =
        runOnTerminal({"--video", "v.mp4", "--fps", "10", "--frames", "0-49"}, folder, exitCode);
    ASSERT_EQ(exitCode, 0) << shown;
    EXPECT_NE(shown.find("\rframe "), std::string::npos) << shown;
    EXPECT_EQ(shown.find("\nframe "), std::string::npos) << "progress on lines of its own";
    const std::regex summary(R"(\rrendered 50 frames in [0-9:]+, [0-9.]+ frames/s *\r?\n$)");
    EXPECT_TRUE(std::regex_search(shown, summary)) << shown;
}

} // namespace
