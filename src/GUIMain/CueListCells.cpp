#include "GUIMain/CueListCells.h"

#include <QRegularExpression>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Config/Settings.h"
#include "Project/Cue.h"
#include "Timecode/SMPTE.h"

namespace GUIMain {

namespace {

QString localized(const char* key)
{
    return QString::fromStdWString(Config::tr(std::wstring(key, key + std::strlen(key))));
}

QString sprintfInt(const char* format, long long value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromUtf8(buffer);
}

}  // namespace

std::optional<QString> formatWithIntegers(const QString& format,
                                          std::initializer_list<long long> arguments)
{
    if (format.count(QLatin1Char('%')) != static_cast<qsizetype>(arguments.size())) {
        return std::nullopt;
    }
    // Flags, width, precision, an optional length and an integer conversion.
    static const QRegularExpression conversion(
        QStringLiteral("%([-+ #0]*[0-9]{0,3}(?:\\.[0-9]{0,3})?)(?:hh|h|ll|l|j|z|t)?([diouxX])"));
    QString result;
    qsizetype from = 0;
    const long long* argument = arguments.begin();
    while (argument != arguments.end()) {
        const qsizetype at = format.indexOf(QLatin1Char('%'), from);
        const QRegularExpressionMatch match =
            conversion.match(format, at, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch()) {
            return std::nullopt;
        }
        result += format.mid(from, at - from);
        const QString conversion =
            QLatin1Char('%') + match.captured(1) + QStringLiteral("ll") + match.captured(2);
        result += sprintfInt(conversion.toLatin1().constData(), *argument);
        from = match.capturedEnd();
        ++argument;
    }
    result += format.mid(from);
    return result;
}

QString cueCommandText(const Project::Cue& cue)
{
    const Project::CueCommand& command = cue.getCommand();
    switch (command.getType()) {
        case Project::CueCommand::TYPE_PYRO: {
            if (command.getAddress() == Project::CueCommand::kNoAddress) {
                return localized("CUECOMMAND.PYRO.UNDEF");
            }
            const QString text =
                (cue.getPyroType() == Project::Cue::PYRO_PARALLEL ? QStringLiteral("[PARALLEL] ")
                                                                  : QString()) +
                localized("CUECOMMAND.PYRO");
            return formatWithIntegers(text, {command.getAddress()}).value_or(text);
        }
        case Project::CueCommand::TYPE_DMX512: {
            const Project::DmxSteps& steps = command.getDmxSteps();
            if (steps.empty()) {
                return localized("CUECOMMAND.DMX512.UNDEF");
            }
            if (steps.size() == 1 && steps[0].size() == 1) {
                const QString text = localized("CUECOMMAND.DMX512");
                return formatWithIntegers(text, {steps[0][0].getChannel(), steps[0][0].getValue()})
                    .value_or(text);
            }
            if (steps.size() == 1) {
                const QString text = localized("CUECOMMAND.DMX512.SCENE");
                return formatWithIntegers(text, {static_cast<long long>(steps[0].size())})
                    .value_or(text);
            }
            const QString text = localized("CUECOMMAND.DMX512.CHASE");
            return formatWithIntegers(text,
                                      {static_cast<long long>(steps.size()), command.getChaseBpm()})
                .value_or(text);
        }
        case Project::CueCommand::TYPE_REMINDER:
            return QString::fromStdString(cue.getReminderText());
        default: return QStringLiteral("???");
    }
}

QString cueConditionText(const Project::Cue& cue, bool showMode)
{
    if (!showMode || cue.getCommand().getType() != Project::CueCommand::TYPE_PYRO) {
        return {};
    }
    const char* key = Project::cueFlagKey(cue.getFlags(), true);
    return key != nullptr ? localized(key) : QString();
}

QString cueCellText(const Project::Cue& cue, int column, const CueCellContext& context)
{
    switch (column) {
        case 0: return QString::number(cue.getNumber());
        case 1: {
            const char* key = Project::cueStateKey(cue.getState());
            QString text = key != nullptr ? localized(key) : QString();
            const QString condition = cueConditionText(cue, context.showMode);
            if (!condition.isEmpty()) {
                text += (text.isEmpty() ? QString() : QStringLiteral(" \u00b7 ")) + condition;
            }
            return text;
        }
        case 2: return QString::fromStdWString(cue.getTimecode().toString());
        case 3: {
            const double seconds = cue.getPrefireTime() / SMPTE::framesPerSecond(context.format);
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.1f s", seconds);
            return QString::fromUtf8(buffer);
        }
        case 4:
            if (cue.getDuration() == 0) {
                return {};
            }
            // A damaged file may carry a negative duration: shown with a sign, not refused.
            if (cue.getDuration() < 0) {
                const int frames = cue.getDuration() == INT_MIN ? INT_MAX : -cue.getDuration();
                return QLatin1Char('-') +
                       QString::fromStdWString(
                           SMPTE::fromFrameNo(cue.getTimecode().getFormat(), frames).toString());
            }
            return QString::fromStdWString(
                SMPTE::fromFrameNo(cue.getTimecode().getFormat(), cue.getDuration()).toString());
        case 5: return cueCommandText(cue);
        case 6: {
            const QString group = QStringLiteral("%1").arg(cue.getGroup(), 2, 10, QLatin1Char('0'));
            if (cue.getGroupName().empty()) {
                return group;
            }
            return group + QStringLiteral(" (") + QString::fromStdString(cue.getGroupName()) +
                   QLatin1Char(')');
        }
        case 7: return QString::number(cue.getQuantity());
        default: break;
    }
    const std::size_t index = static_cast<std::size_t>(column - 8);
    if (column < 8 || context.metadataKeys == nullptr || index >= context.metadataKeys->size()) {
        return {};
    }
    const std::wstring* value = cue.getMetadata().valueOf((*context.metadataKeys)[index]);
    return value != nullptr ? QString::fromStdWString(*value) : QString();
}

QColor blendColor(const QColor& c, const QColor& d, double t)
{
    const auto channel = [t](int from, int to) {
        return static_cast<int>(std::trunc((to - from) * t + from + 0.5));
    };
    return QColor(channel(c.red(), d.red()), channel(c.green(), d.green()),
                  channel(c.blue(), d.blue()));
}

CueRowColors cueRowColors(const Project::Cue& cue, bool showMode, const QColor& highlight,
                          const QColor& highlightText)
{
    CueRowColors colors;
    if (cue.isSelected()) {
        colors.background = highlight;
        colors.text = highlightText;
        colors.commandBackground = highlight;
        colors.conditionBackground = highlight;
        return colors;
    }
    const int type = cue.getCommand().getType();
    const bool pyro = type == Project::CueCommand::TYPE_PYRO;
    const bool reminder = type == Project::CueCommand::TYPE_REMINDER;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    QColor base = pyro ? QColor(0, 168, 255)
                       : (type == Project::CueCommand::TYPE_DMX512 ? QColor(0, 234, 255)
                                                                   : QColor(255, 153, 0));
    QColor background = base;
    QColor text = black;
    // Disabled, queued, next, prefire and done apply to pyro and DMX cues; active and
    // skipped to every type.
    const bool firing = !reminder;
    switch (cue.getState()) {
        case Project::CUE_DISABLED:
            if (firing) {
                background = blendColor(base, QColor(192, 192, 192), 0.8);
            }
            break;
        case Project::CUE_QUEUED:
            if (firing) {
                background = blendColor(base, QColor(57, 117, 151), 1.0);
                text = white;
            }
            break;
        case Project::CUE_NEXT:
            if (firing) {
                background = blendColor(base, white, 0.9);
            }
            break;
        case Project::CUE_PREFIRE:
            if (firing) {
                background = blendColor(base, QColor(255, 192, 0), 0.9);
            }
            break;
        case Project::CUE_ACTIVE: background = blendColor(base, QColor(255, 31, 31), 0.8); break;
        case Project::CUE_DONE:
            if (firing) {
                background = QColor(17, 77, 111);
                text = white;
            }
            break;
        case Project::CUE_SKIPPED: background = blendColor(base, QColor(255, 0, 0), 0.3); break;
        default: break;
    }
    colors.background = background;
    colors.text = text;
    colors.commandBackground = background;
    if (!reminder && !cue.getCommand().isDefined()) {
        colors.commandBackground = blendColor(background, QColor(255, 96, 64), 0.8);
    }
    colors.conditionBackground = background;
    if (pyro && showMode) {
        const int flags = cue.getFlags();
        if ((flags & Project::FLAG_TESTED) == 0) {
            colors.conditionBackground = blendColor(background, QColor(255, 128, 64), 0.6);
        }
        if ((flags & (Project::FLAG_COMMFAIL | Project::FLAG_NO_CONTINUITY)) != 0 &&
            cue.getState() != Project::CUE_DONE) {
            colors.conditionBackground = blendColor(background, QColor(255, 96, 64), 0.6);
        }
        if ((flags & (Project::FLAG_DUPLICATE | Project::FLAG_BUSY | Project::FLAG_NEG_TRIGGER)) !=
            0) {
            colors.conditionBackground = blendColor(background, QColor(255, 96, 64), 0.8);
        }
    }
    return colors;
}

}  // namespace GUIMain
