#include "Device.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

#include "Timecode/SMPTE.h"

namespace Devsim {

namespace {

constexpr uint32_t kStepWait = 0x30000000u;
constexpr int64_t kTimecodeReportUs = 100000;
// Raw bytes one operator line may put on the line.
constexpr size_t kMaxRawBytes = 256;

std::string hexBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

std::string hexNumber(uint32_t value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*" PRIX32, width, value);
    return text;
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20 || b >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out + "\"";
}

uint32_t readU32(std::string_view payload, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && offset + i < payload.size(); ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(payload[offset + i])) << (8 * i);
    }
    return value;
}

void appendU16(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void appendU32(std::string& out, uint32_t value)
{
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

// The label of a timecode wait word, packed as the program's BCD word (hours in the top
// byte) so that the timecode type can check and convert it.
uint32_t waitLabelBcd(uint32_t word)
{
    const uint32_t frames = (((word >> 16) & 0x3) << 4) | (word & 0xF);
    const uint32_t seconds = (((word >> 18) & 0x7) << 4) | ((word >> 4) & 0xF);
    const uint32_t minutes = (((word >> 21) & 0x7) << 4) | ((word >> 8) & 0xF);
    const uint32_t hours = (((word >> 24) & 0x3) << 4) | ((word >> 12) & 0xF);
    return hours << 24 | minutes << 16 | seconds << 8 | frames;
}

std::vector<std::string> splitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

Device::Device(DeviceConfig config, Output output, LogSink logSink, int64_t nowUs)
    : config_(std::move(config)),
      output_(std::move(output)),
      log_(std::move(logSink)),
      startUs_(nowUs),
      lastNowUs_(nowUs)
{
    armed_ = config_.startArmed;
    lastStatus_ = statusFlags();  // the PC asks for it with 0x30; later only changes are sent
    // The steady clock is system-wide, so a program on the other end of the line can put
    // the log's times on its own clock.
    log("start", ",\"room\":" + std::to_string(config_.queueRoom) +
                     ",\"modules\":" + std::to_string(config_.modules.size()) +
                     ",\"steady_us\":" + std::to_string(startUs_));
}

void Device::receive(std::string_view bytes, int64_t nowUs)
{
    lastNowUs_ = nowUs;
    FrameReader::Received frame;
    for (char c : bytes) {
        if (reader_.push(static_cast<uint8_t>(c), frame)) {
            log("rx", ",\"code\":\"" + hexNumber(frame.code, 2) + "\",\"payload\":\"" +
                          hexBytes(frame.payload) + "\"");
            handleFrame(frame, nowUs);
        }
    }
    update(nowUs);
}

void Device::handleFrame(const FrameReader::Received& frame, int64_t nowUs)
{
    const std::string_view payload = frame.payload;
    switch (frame.code) {
        case 0x00: send(0x01, "pong"); break;
        case 0x02: {
            std::string reply;
            reply.push_back(static_cast<char>(config_.info[0]));
            reply.push_back(static_cast<char>(config_.info[1]));
            appendU16(reply, static_cast<uint32_t>(config_.info[2]));
            appendU16(reply, static_cast<uint32_t>(config_.info[3]));
            send(0x03, reply);
            break;
        }
        case 0x10:
            // Start over at this index of the PC's current group: the queue empties.
            queue_.clear();
            executed_ = readU32(payload, 0);
            stepStartUs_ = -1;
            delayStartUs_ = -1;
            sendRoom(0x11);
            break;
        case 0x12: {
            const size_t count = payload.size() / 4;
            for (size_t i = 0; i < count; ++i) {
                const uint32_t word = readU32(payload, i * 4);
                if (freeRoom() > 0) {
                    queue_.push_back(word);
                } else {
                    log("overflow", ",\"word\":\"" + hexNumber(word, 8) + "\"");
                }
            }
            if (runQueue(nowUs)) {
                sendProgress();
            }
            if (roomReports_) {
                sendRoom(0x13);
            }
            break;
        }
        case 0x14:
            // The trigger releases only a trigger wait the device stands at; it is not kept
            // for a wait that has not arrived yet (the PC triggers again on its next tick).
            if (!queue_.empty() && (queue_.front() >> 28) == 0x2) {
                const uint32_t word = queue_.front();
                queue_.pop_front();
                execute(word, executed_++, "queue", nowUs);
                runQueue(nowUs);
            }
            sendProgress();
            break;
        case 0x16:
            for (size_t i = 0; i + 4 <= payload.size(); i += 4) {
                execute(readU32(payload, i), -1, "now", nowUs);
            }
            send(0x17, "");
            break;
        case 0x20: handleModuleCheck(payload); break;
        case 0x22:
            if (payload.empty()) {
                if (disarmIgnored_) {
                    log("ignored", ",\"reason\":\"disarm ignored\"");
                } else {
                    armed_ = false;
                }
            } else if (payload.size() == 1 || payload.size() == 17) {
                armed_ = true;
                armChannel_ = static_cast<uint8_t>(payload[0]);
            } else {
                log("ignored",
                    ",\"reason\":\"arm payload of " + std::to_string(payload.size()) + " bytes\"");
            }
            log("arm", std::string(",\"armed\":") + (armed_ ? "true" : "false") +
                           ",\"channel\":" + std::to_string(armChannel_) + ",\"mask\":\"" +
                           hexBytes(payload.size() == 17 ? payload.substr(1) : "") + "\"");
            sendStatusIfChanged(false);
            break;
        case 0x30: sendStatusIfChanged(true); break;
        case 0x40: handleShowControl(payload, nowUs); break;
        case 0x50:
            if (!payload.empty()) {
                pyroLink_ = static_cast<uint8_t>(payload[0]);
                log("pyro-link", ",\"link\":" + std::to_string(pyroLink_));
            }
            break;
        default: break;  // 0x01 (the PC's pong) and unknown codes: logged only
    }
}

void Device::handleModuleCheck(std::string_view payload)
{
    const int module = static_cast<int>(readU32(payload.substr(0, 2), 0));
    const auto found = config_.modules.find(module);
    std::string reply;
    if (found != config_.modules.end()) {
        appendU16(reply, found->second);
    }
    // An absent module does not answer the controller, which replies without a continuity.
    send(0x21, reply);
}

void Device::handleShowControl(std::string_view payload, int64_t nowUs)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(payload[i]); };
    std::string what;
    if (payload.size() == 2) {
        format_ = byte(1) >> 6;
        timecodeRunning_ = false;
        if (byte(0) == 0xA4) {
            clockMode_ = ClockMode::Master;
            timecodeKnown_ = true;
            setTimecode(0, nowUs);
            what = "clock-out";
        } else if (byte(1) & 0x20) {
            clockMode_ = ClockMode::Slave;
            timecodeKnown_ = false;
            what = "clock-in";
        } else {
            clockMode_ = ClockMode::None;
            timecodeKnown_ = false;
            what = "no-timecode";
        }
        log("clock", ",\"mode\":\"" + what + "\",\"format\":" + std::to_string(format_));
        if (clockMode_ == ClockMode::Master) {
            sendTimecode(nowUs);
        }
        return;
    }
    if (payload.size() == 1 && clockMode_ == ClockMode::Master) {
        const int64_t frames = timecodeFrames(nowUs);
        if (byte(0) == 0x01) {
            setTimecode(frames, nowUs);
            timecodeRunning_ = true;
            what = "play";
        } else if (byte(0) == 0x80) {
            setTimecode(frames, nowUs);
            timecodeRunning_ = false;
            what = "pause";
        } else if (byte(0) == 0x84) {
            setTimecode(0, nowUs);
            timecodeRunning_ = false;
            what = "stop";
        }
    } else if (payload.size() == 6 && byte(0) == 0x04) {
        const uint32_t bcd = static_cast<uint32_t>(byte(2)) << 24 |
                             static_cast<uint32_t>(byte(3)) << 16 |
                             static_cast<uint32_t>(byte(4)) << 8 | byte(5);
        if (SMPTE::isValidBCD(bcd, format_)) {
            SMPTE label(format_);
            label.setBCD(bcd);
            setTimecode(label.getFrameNo(), nowUs);
            timecodeKnown_ = true;
            what = "locate";
        }
    }
    if (what.empty()) {
        log("ignored", ",\"reason\":\"show control " + hexBytes(payload) + "\"");
        return;
    }
    log("transport", ",\"action\":\"" + what + "\"");
    sendTimecode(nowUs);
}

bool Device::runQueue(int64_t nowUs)
{
    bool ran = false;
    while (!queue_.empty()) {
        const uint32_t word = queue_.front();
        const uint32_t kind = word >> 28;
        if (kind == 0x1) {
            if (clockMode_ == ClockMode::None || !timecodeKnown_) {
                break;
            }
            const uint32_t target = waitLabelBcd(word);
            const SMPTE now = SMPTE::fromFrameNo(format_, static_cast<int>(timecodeFrames(nowUs)));
            if ((now.getBCD() & ~SMPTE::kDropFrameFlag) < target) {
                break;  // BCD words order as their labels do
            }
        } else if (kind == 0x2 || word == kStepWait) {
            break;
        } else if (kind == 0x3) {
            if (stepStartUs_ < 0 && delayStartUs_ < 0) {
                delayStartUs_ = nowUs;
            }
            const int64_t start = stepStartUs_ >= 0 ? stepStartUs_ : delayStartUs_;
            if (nowUs < start + static_cast<int64_t>(word & 0xFFFFFF) * 1000) {
                break;
            }
        }
        queue_.pop_front();
        delayStartUs_ = -1;
        execute(word, executed_++, "queue", nowUs);
        ran = true;
    }
    return ran;
}

void Device::execute(uint32_t word, int64_t index, const char* source, int64_t nowUs)
{
    std::string kind;
    std::string result = "done";
    std::string extra;
    switch (word >> 28) {
        case 0x1:
            kind = "timecode-wait";
            result = "passed";
            break;
        case 0x2:
            kind = "trigger-wait";
            result = "released";
            break;
        case 0x3:
            if (word == kStepWait) {
                kind = "step-wait";
                result = "stepped";
                stepStartUs_ = nowUs;
            } else {
                kind = "delay";
                result = "elapsed";
            }
            break;
        case 0x8: {
            kind = "fire";
            const int module = static_cast<int>((word >> 8) & 0xFFFF);
            const int pin = static_cast<int>(word & 0xFF);
            extra = ",\"module\":" + std::to_string(module) + ",\"pin\":" + std::to_string(pin);
            if (pyroOutputDisabled()) {
                result = "suppressed";
            } else {
                result = "fired";
                // A fired igniter is gone: the pin no longer shows continuity.
                const auto found = config_.modules.find(module);
                if (found != config_.modules.end() && pin < 16) {
                    found->second = static_cast<uint16_t>(found->second & ~(1u << pin));
                }
            }
            break;
        }
        case 0x9: {
            const uint32_t sub = (word >> 24) & 0xF;
            if (sub == 0x0) {
                kind = "dmx-duration";
                dmxDuration_ = word & 0xFFFFFF;
                extra = ",\"ticks\":" + std::to_string(dmxDuration_);
            } else if (sub == 0x1) {
                kind = "dmx";
                extra = ",\"universe\":" + std::to_string((word >> 17) & 0x7F) +
                        ",\"channel\":" + std::to_string((word >> 8) & 0x1FF) +
                        ",\"value\":" + std::to_string(word & 0xFF) +
                        ",\"ticks\":" + std::to_string(dmxDuration_);
            } else if (sub == 0x2) {
                kind = "dmx-off";
            } else {
                kind = "unknown";
                result = "ignored";
                break;
            }
            if (dmxDisabled_) {
                result = "suppressed";
            }
            break;
        }
        default:
            kind = "unknown";
            result = "ignored";
            break;
    }
    log("exec", ",\"source\":\"" + std::string(source) + "\",\"index\":" + std::to_string(index) +
                    ",\"word\":\"" + hexNumber(word, 8) + "\",\"kind\":\"" + kind +
                    "\",\"result\":\"" + result + "\"" + extra);
}

Device::CommandResult Device::command(std::string_view line, int64_t nowUs, std::string& error)
{
    lastNowUs_ = nowUs;
    const std::vector<std::string> words = splitWords(line);
    if (words.empty()) {
        return CommandResult::Done;
    }
    log("input", ",\"line\":" + jsonString(line));
    const std::string& name = words[0];
    const std::string argument = words.size() > 1 ? words[1] : "";
    const auto onOff = [&](bool& flag, const char* on, const char* off) {
        if (words.size() == 2 && (argument == on || argument == off)) {
            flag = argument == on;
            return true;
        }
        error = name + " takes " + on + " or " + off;
        return false;
    };
    bool ok = true;
    if (name == "quit") {
        return CommandResult::Quit;
    } else if (name == "unplug") {
        return CommandResult::Unplug;
    } else if (name == "key") {
        ok = onOff(keySwitch_, "on", "off");
    } else if (name == "deadman") {
        ok = onOff(deadMan_, "hold", "release");
    } else if (name == "override") {
        ok = onOff(deadManOverride_, "on", "off");
    } else if (name == "pyro-disabled") {
        ok = onOff(pyroDisabled_, "on", "off");
    } else if (name == "dmx-disabled") {
        ok = onOff(dmxDisabled_, "on", "off");
    } else if (name == "silent") {
        ok = onOff(silent_, "on", "off");
    } else if (name == "stall") {
        ok = onOff(stalled_, "on", "off");
    } else if (name == "disarm-ignored") {
        ok = onOff(disarmIgnored_, "on", "off");
    } else if (name == "room-reports") {
        ok = onOff(roomReports_, "on", "off");
    } else if (name == "send") {
        std::string raw;
        if (words.size() != 2 || !parseHexBytes(argument, kMaxRawBytes, raw) || raw.empty()) {
            error = "send takes the bytes in hex, e.g. 50310151";
            ok = false;
        } else {
            transmit(raw, ",\"raw\":\"" + hexBytes(raw) + "\"");
        }
    } else if (name == "reply" || name == "reply-raw") {
        // The request's code, always in hex; its reply has the code plus one.
        long long code = 0;
        Replacement replacement;
        replacement.raw = name == "reply-raw";
        const bool prefixed = argument.rfind("0x", 0) == 0 || argument.rfind("0X", 0) == 0;
        if (words.size() != 3 ||
            !parseNumber("0x" + argument.substr(prefixed ? 2 : 0), 0, 0xFE, code) ||
            !(words[2] == "-" ? !replacement.raw
                              : parseHexBytes(words[2], replacement.raw ? kMaxRawBytes : 63,
                                              replacement.bytes))) {
            error = name + " takes a request code in hex and " +
                    (replacement.raw ? "the bytes in hex" : "a payload in hex or -");
            ok = false;
        } else {
            replacements_[static_cast<uint8_t>(code + 1)] = replacement;
        }
    } else if (name == "step") {
        if (!queue_.empty() && queue_.front() == kStepWait) {
            const uint32_t word = queue_.front();
            queue_.pop_front();
            execute(word, executed_++, "queue", nowUs);
            runQueue(nowUs);
            sendProgress();
        } else {
            log("ignored", ",\"reason\":\"no step wait at the front\"");
        }
    } else if (name == "garble" || name == "drop") {
        long long count = 0;
        if (words.size() != 2 || !parseNumber(argument, 0, 1 << 20, count)) {
            error = name + " takes a byte count";
            ok = false;
        } else {
            (name == "garble" ? garbleBytes_ : dropBytes_) = static_cast<int>(count);
        }
    } else if (name == "timecode") {
        if (words.size() == 2 && argument == "stop") {
            setTimecode(timecodeFrames(nowUs), nowUs);
            timecodeRunning_ = false;
            sendTimecode(nowUs);
        } else {
            int h = 0, m = 0, s = 0, f = 0;
            char tail = 0;
            if (words.size() != 2 ||
                std::sscanf(argument.c_str(), "%2d%*[:;]%2d%*[:;]%2d%*[:;]%2d%c", &h, &m, &s, &f,
                            &tail) != 4 ||
                h < 0 || m < 0 || s < 0 || f < 0 ||
                !SMPTE::isValidBCD(static_cast<uint32_t>(SMPTE::intToBCD(h % 100)) << 24 |
                                       static_cast<uint32_t>(SMPTE::intToBCD(m % 100)) << 16 |
                                       static_cast<uint32_t>(SMPTE::intToBCD(s % 100)) << 8 |
                                       static_cast<uint32_t>(SMPTE::intToBCD(f % 100)),
                                   format_)) {
                error = "timecode takes HH:MM:SS:FF valid in the current format, or stop";
                ok = false;
            } else {
                setTimecode(SMPTE(format_, h, m, s, f).getFrameNo(), nowUs);
                timecodeKnown_ = true;
                timecodeRunning_ = true;
                sendTimecode(nowUs);
            }
        }
    } else if (name == "continuity") {
        long long module = 0;
        long long mask = 0;
        if (words.size() == 3 && parseNumber(argument, 0, 0xFFFF, module) && words[2] == "absent") {
            config_.modules.erase(static_cast<int>(module));
        } else if (words.size() == 3 && parseNumber(argument, 0, 0xFFFF, module) &&
                   parseNumber(words[2], 0, 0xFFFF, mask)) {
            config_.modules[static_cast<int>(module)] = static_cast<uint16_t>(mask);
        } else {
            error = "continuity takes MODULE MASK or MODULE absent";
            ok = false;
        }
    } else if (name == "report") {
        long long module = 0;
        if (words.size() != 2 || !parseNumber(argument, 0, 0xFF, module)) {
            error = "report takes a module number 0..255";
            ok = false;
        } else {
            std::string payload(1, static_cast<char>(module));
            const auto found = config_.modules.find(static_cast<int>(module));
            if (found != config_.modules.end()) {
                appendU16(payload, found->second);
            }
            send(0x23, payload);
        }
    } else if (name == "ping") {
        send(0x00, "");
    } else {
        error = "unknown command " + name;
        ok = false;
    }
    if (!ok) {
        log("input-error", ",\"error\":" + jsonString(error));
        return CommandResult::Invalid;
    }
    sendStatusIfChanged(false);
    update(nowUs);
    return CommandResult::Done;
}

void Device::update(int64_t nowUs)
{
    lastNowUs_ = nowUs;
    if (runQueue(nowUs)) {
        sendProgress();
    }
    if (clockMode_ != ClockMode::None && timecodeKnown_ && timecodeRunning_ &&
        nowUs - lastTimecodeReportUs_ >= kTimecodeReportUs) {
        sendTimecode(nowUs);
    }
}

std::optional<int64_t> Device::nextDeadline(int64_t nowUs) const
{
    std::optional<int64_t> next;
    const auto consider = [&](int64_t at) {
        if (!next || at < *next) {
            next = at;
        }
    };
    const bool timecodeRuns = clockMode_ != ClockMode::None && timecodeKnown_ && timecodeRunning_;
    if (!queue_.empty()) {
        const uint32_t word = queue_.front();
        if ((word >> 28) == 0x3 && word != kStepWait) {
            const int64_t start =
                stepStartUs_ >= 0 ? stepStartUs_ : (delayStartUs_ >= 0 ? delayStartUs_ : nowUs);
            consider(start + static_cast<int64_t>(word & 0xFFFFFF) * 1000);
        } else if ((word >> 28) == 0x1 && timecodeRuns) {
            // The moment the running timecode reaches the next frame; the wait is checked then.
            const int64_t frames = timecodeFrames(nowUs) - timecodeBaseFrames_ + 1;
            consider(timecodeBaseUs_ +
                     static_cast<int64_t>(std::ceil(frames * 1e6 / framesPerSecond())));
        }
    }
    if (timecodeRuns) {
        consider(lastTimecodeReportUs_ + kTimecodeReportUs);
    }
    return next;
}

void Device::sendProgress()
{
    std::string payload;
    appendU32(payload, static_cast<uint32_t>(executed_));
    payload.push_back(
        static_cast<char>((pyroOutputDisabled() ? 0x01 : 0) | (dmxDisabled_ ? 0x02 : 0)));
    appendU16(payload, static_cast<uint32_t>(freeRoom()));
    send(0x15, payload);
}

void Device::sendRoom(uint8_t code)
{
    std::string payload;
    appendU16(payload, static_cast<uint32_t>(freeRoom()));
    send(code, payload);
}

void Device::sendStatusIfChanged(bool always)
{
    const int status = statusFlags();
    if (status == lastStatus_ && !always) {
        return;
    }
    lastStatus_ = status;
    send(0x31, std::string(1, static_cast<char>(status)));
}

void Device::sendTimecode(int64_t nowUs)
{
    if (clockMode_ == ClockMode::None || !timecodeKnown_) {
        return;
    }
    const uint32_t bcd =
        SMPTE::fromFrameNo(format_, static_cast<int>(timecodeFrames(nowUs))).getBCD();
    std::string payload;
    for (int shift = 24; shift >= 0; shift -= 8) {
        payload.push_back(static_cast<char>((bcd >> shift) & 0xFF));
    }
    lastTimecodeReportUs_ = nowUs;
    send(0x41, payload);
}

void Device::send(uint8_t code, std::string_view payload)
{
    const auto replaced = replacements_.find(code);
    if (replaced == replacements_.end()) {
        transmit(Frame::encode(code, payload), ",\"code\":\"" + hexNumber(code, 2) +
                                                   "\",\"payload\":\"" + hexBytes(payload) + "\"");
        return;
    }
    const Replacement replacement = replaced->second;
    replacements_.erase(replaced);
    if (replacement.raw) {
        transmit(replacement.bytes, ",\"code\":\"" + hexNumber(code, 2) + "\",\"raw\":\"" +
                                        hexBytes(replacement.bytes) + "\",\"replaced\":true");
    } else {
        transmit(Frame::encode(code, replacement.bytes),
                 ",\"code\":\"" + hexNumber(code, 2) + "\",\"payload\":\"" +
                     hexBytes(replacement.bytes) + "\",\"replaced\":true");
    }
}

void Device::transmit(std::string bytes, const std::string& fields)
{
    std::string fault;
    if (silent_) {
        fault = "silent";
        bytes.clear();
    } else if (dropBytes_ > 0 || garbleBytes_ > 0) {
        std::string kept;
        for (char c : bytes) {
            if (dropBytes_ > 0) {
                --dropBytes_;
                fault = "dropped";
                continue;
            }
            if (garbleBytes_ > 0) {
                --garbleBytes_;
                fault = fault.empty() ? "garbled" : fault;
                c = static_cast<char>(~c);
            }
            kept.push_back(c);
        }
        bytes = kept;
    }
    log("tx", fields + (fault.empty() ? "" : ",\"fault\":\"" + fault + "\""));
    if (!bytes.empty()) {
        output_(bytes);
    }
}

int Device::statusFlags() const
{
    return (pyroOutputDisabled() ? 0 : 0x01) | (deadMan_ ? 0x02 : 0) |
           (deadManOverride_ ? 0x08 : 0) | (dmxDisabled_ ? 0 : 0x10);
}

bool Device::pyroOutputDisabled() const
{
    return !armed_ || !keySwitch_ || pyroDisabled_;
}

int Device::freeRoom() const
{
    return config_.queueRoom - static_cast<int>(queue_.size());
}

double Device::framesPerSecond() const
{
    return SMPTE::framesPerSecond(format_);
}

int64_t Device::timecodeFrames(int64_t nowUs) const
{
    int64_t frames = timecodeBaseFrames_;
    if (timecodeRunning_) {
        frames += static_cast<int64_t>(
            std::floor(static_cast<double>(nowUs - timecodeBaseUs_) * framesPerSecond() / 1e6));
    }
    // The device clock is a 24-hour clock.
    return frames % SMPTE::framesPerDay(format_);
}

void Device::setTimecode(int64_t frames, int64_t nowUs)
{
    timecodeBaseFrames_ = frames;
    timecodeBaseUs_ = nowUs;
}

void Device::log(std::string_view event, const std::string& fields)
{
    if (log_) {
        log_("{\"t\":" + timeField() + ",\"event\":\"" + std::string(event) + "\"" + fields + "}");
    }
}

std::string Device::timeField() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(lastNowUs_ - startUs_) / 1000.0);
    return text;
}

}  // namespace Devsim
