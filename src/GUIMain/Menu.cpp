#include "GUIMain/Menu.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QUrl>
#include <algorithm>
#include <nlohmann/json.hpp>

#include "Config/Settings.h"
#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUI/WidgetLook.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/ExternalLinks.h"
#include "GUIMain/HeaderLook.h"
#include "Platform/Utf.h"

#ifndef SKYFIREWRIGHT_VERSION
#error "the build passes the project's version as SKYFIREWRIGHT_VERSION"
#endif

namespace GUIMain {

namespace {

constexpr std::uint32_t kChildStyle = GUI::kStyleChild | GUI::kStyleVisible;

constexpr int kMargin = 40;
constexpr int kColumnGap = 28;
constexpr int kMaxColumnWidth = 320;
constexpr int kHeadHeight = 96;
constexpr int kButtonHeight = 34;
constexpr int kButtonStep = 40;
constexpr int kHeadingHeight = 28;
// The head and the longest column (ten recent files).
constexpr int kContentHeight = 560;

QFont fontOf(GUI::Graphics::TextStyle style, int pixels = 0)
{
    GUI::Graphics* graphics = GUI::Graphics::getInstance();
    QFont font = graphics != nullptr ? graphics->getFont(style) : QFont();
    if (pixels > 0) {
        font.setPixelSize(pixels);
    }
    return font;
}

// A menu entry: a wide row with its caption at the left, lit warm under the pointer.
class MenuButton : public GUI::D2DButton {
public:
    MenuButton() : GUI::D2DButton(false, HeaderLook::kMenuColors) {}

    std::wstring getWindowClassName() const override { return L"MenuButton"; }

    void draw(GUI::RenderTarget& target) override
    {
        QPainter& p = target.painter();
        const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
        const QColor stage = HeaderLook::kStage.toQColor();
        const QColor amber = HeaderLook::kAmber.toQColor();
        const QColor edge = HeaderLook::kEdge.toQColor();
        p.fillRect(rect, stage);
        if (!isEnabled()) {
            p.setOpacity(GUI::WidgetLook::kDisabledOpacity);
        }
        const int state = getState();
        const bool hover = (state & kHover) != 0 && isEnabled();
        const bool pressed = (state & kPressed) != 0;
        QColor fill = GUI::WidgetLook::mix(stage, edge, 0.28);
        if (pressed) {
            fill = GUI::WidgetLook::mix(edge, amber, 0.35);
        } else if (hover) {
            fill = GUI::WidgetLook::mix(edge, amber, 0.12);
        }
        p.setRenderHint(QPainter::Antialiasing, true);
        const bool focused = getHandle() != nullptr && getHandle()->hasFocus();
        p.setPen(focused ? QPen(amber, 1.5) : Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        if (hover || pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(amber);
            p.drawRoundedRect(QRectF(0, 5, 3, rect.height() - 10), 1.5, 1.5);
        }
        const QFont font = fontOf(GUI::Graphics::TextStyle::kRegular18, 15);
        p.setFont(font);
        p.setPen(hover ? QColor(255, 236, 208) : HeaderLook::text());
        const QRectF textRect = rect.adjusted(14, 0, -10, 0);
        const QString caption = QFontMetricsF(font).elidedText(
            QString::fromStdWString(getCaption()), Qt::ElideMiddle, textRect.width());
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    }
};

// The web site's address without its scheme and closing slash, as people write it.
std::wstring websiteCaption()
{
    QString address = QUrl(QString::fromLatin1(kWebsiteAddress)).host();
    return address.toStdWString();
}

// The last part of a path.
std::wstring fileNameOf(const std::wstring& path)
{
    const std::size_t cut = path.find_last_of(L"/\\");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

// The columns of the menu, by button name; a null name starts a new heading.
struct ColumnItem {
    const wchar_t* heading;  // a heading's key, or null for a button
    const wchar_t* button;
};

}  // namespace

const std::vector<Menu::Entry>& Menu::entries()
{
    static const std::vector<Entry> table = {
        {L"NewButton", L"MENU.NEW", Command::kNewProject},
        {L"OpenButton", L"MENU.OPEN", Command::kOpenProject},
        {L"CombineButton", L"MENU.COMBINE", Command::kCombineProjects},
        {L"ImportButton", L"MENU.IMPORT", Command::kImportForeignShow},
        {L"SaveButton", L"MENU.SAVE", Command::kSave},
        {L"SaveAsButton", L"MENU.SAVE_AS", Command::kSaveAs},
        {L"ExportQuelistButton", L"MENU.EXPORT_QUELIST", Command::kExportShowFile},
        {L"UndoButton", L"", Command::kUndo},
        {L"RedoButton", L"", Command::kRedo},
        {L"MidiButton", L"MENU.MIDI", Command::kMidiWizard},
        {L"FixtureButton", L"MENU.PRESET", Command::kFixtureScreen},
        {L"ReportButton", L"MENU.GENERATE_REPORTS", Command::kReportsWizard},
        {L"EffectButton", L"MENU.EFFECTFILE", Command::kEffectScreen},
        {L"ConfigButton", L"MENU.CONFIG", Command::kSwitchLanguage},
        {L"HelpButton", L"MENU.HELP", Command::kOnlineManual},
        {L"WebsiteButton", L"", Command::kWebsite},
    };
    return table;
}

std::wstring Menu::recentButtonName(int index)
{
    return L"RecentBtn" + std::to_wstring(index);
}

GUI::D2DButton* Menu::addButton(const std::wstring& name, const std::wstring& caption, int command)
{
    auto* button = new MenuButton();
    button->setTag(command);
    button->setPreferredSize(200, kButtonHeight);
    button->createAsD2DChild(name, caption, nullptr, kChildStyle, 0, this);
    button->addListener(this);
    return button;
}

void Menu::onCreate()
{
    head_ = HeaderLook::loadProgramImage(L"menuhead.png");
    for (const Entry& entry : entries()) {
        const std::wstring caption =
            std::wstring(entry.name) == L"WebsiteButton"
                ? websiteCaption()
                : (entry.captionKey[0] != 0 ? Config::tr(entry.captionKey) : std::wstring());
        buttons_.push_back(addButton(entry.name, caption, entry.command));
    }
    project_ = Project::Project::getInstance();
    if (project_ != nullptr) {
        project_->addListener(this);
        project_->getProjectState().addListener(this);
    }
    if (Config::Settings* settings = Config::Settings::getInstance()) {
        recentFiles_ = &settings->getRecentFiles();
        recentFiles_->addListener(this);
    }
    rebuildRecentButtons();
    refreshButtons();

    addStateProvider(this, [this](nlohmann::json& state) {
        nlohmann::json menu = nlohmann::json::object();
        auto describe = [&menu](const GUI::D2DButton* button) {
            menu[Platform::toUtf8(button->getName())] = {
                {"enabled", button->isEnabled()},
                {"caption", Platform::toUtf8(button->getCaption())}};
        };
        std::for_each(buttons_.begin(), buttons_.end(), describe);
        std::for_each(recentButtons_.begin(), recentButtons_.end(), describe);
        state["menu"] = menu;
    });
}

void Menu::onDestroy()
{
    removeStateProvider(this);
    if (project_ != nullptr && project_ == Project::Project::getInstance()) {
        project_->removeListener(this);
        project_->getProjectState().removeListener(this);
    }
    Config::Settings* settings = Config::Settings::getInstance();
    if (recentFiles_ != nullptr && settings != nullptr &&
        recentFiles_ == &settings->getRecentFiles()) {
        recentFiles_->removeListener(this);
    }
    project_ = nullptr;
    recentFiles_ = nullptr;
}

GUI::D2DButton* Menu::findButton(const std::wstring& name) const
{
    return dynamic_cast<GUI::D2DButton*>(findByName(name));
}

void Menu::refreshButtons()
{
    const bool open = project_ != nullptr && project_->isProjectOpen();
    const bool showMode = project_ != nullptr && project_->isShowMode();
    auto enable = [this](const wchar_t* name, bool enabled) {
        if (GUI::D2DButton* button = findButton(name)) {
            button->setEnabled(enabled);
        }
    };
    for (const wchar_t* name :
         {L"SaveAsButton", L"ExportQuelistButton", L"ReportButton", L"CombineButton"}) {
        enable(name, open);
    }
    // An untitled show has no file to save to yet: "Save as" names it.
    enable(L"SaveButton", open && !project_->isUntitled());
    const bool canUndo = open && !showMode && project_->getUndoCount() > 0;
    const bool canRedo = open && !showMode && project_->getRedoCount() > 0;
    enable(L"UndoButton", canUndo);
    enable(L"RedoButton", canRedo);
    GUI::D2DButton* undo = findButton(L"UndoButton");
    GUI::D2DButton* redo = findButton(L"RedoButton");
    undo->setCaption(Config::tr(project_ != nullptr ? project_->getUndoText() : L"UNDO.NOTHING"));
    redo->setCaption(Config::tr(project_ != nullptr ? project_->getRedoText() : L"REDO.NOTHING"));
}

void Menu::rebuildRecentButtons()
{
    for (GUI::D2DButton* button : recentButtons_) {
        // Inside a click the window goes later: its name is free at once for the new
        // button.
        removeChild(button->getHandle(), button->getName());
        button->clearD2DParent();
        button->removeListener(this);
        button->destroyWindow();
    }
    recentButtons_.clear();
    if (recentFiles_ != nullptr) {
        for (int i = 0; i < Config::RecentFiles::kMaxEntries; ++i) {
            const std::wstring path = recentFiles_->getEntry(i);
            if (path.empty()) {
                break;
            }
            GUI::D2DButton* button =
                addButton(recentButtonName(i), fileNameOf(path), Command::kFirstRecentFile + i);
            button->getHandle()->setToolTip(QString::fromStdWString(path));
            recentButtons_.push_back(button);
        }
    }
    layOut();
    invalidate();
}

void Menu::clicked(GUI::D2DButton* button)
{
    sendCommand(button->getTag());
}

void Menu::fileNameChanged(const std::wstring& /*fileName*/)
{
    refreshButtons();
}

void Menu::historyChanged()
{
    refreshButtons();
}

void Menu::projectUpdated()
{
    refreshButtons();
}

void Menu::onModeChanged()
{
    refreshButtons();
}

void Menu::onRecentFilesChanged()
{
    rebuildRecentButtons();
}

void Menu::setFoldValue(float value)
{
    if (value != foldValue_) {
        foldValue_ = value;
        invalidate();
    }
}

void Menu::resized()
{
    layOut();
    D2DContainer::resized();
}

void Menu::layOut()
{
    if (getHandle() == nullptr) {
        return;
    }
    const int width = getHandle()->width();
    const int height = getHandle()->height();
    constexpr int kColumns = 4;
    const int columnWidth = std::clamp(
        (width - 2 * kMargin - (kColumns - 1) * kColumnGap) / kColumns, 150, kMaxColumnWidth);
    const int blockWidth = kColumns * columnWidth + (kColumns - 1) * kColumnGap;
    const int left = std::max(kMargin, (width - blockWidth) / 2);
    // A tall menu lowers its block a little, so it does not cling to the band.
    const int top = std::clamp((height - kContentHeight) / 3, 28, 140);

    headRect_ = QRect();
    int welcomeLeft = left;
    if (!head_.isNull()) {
        // The picture at most as high as the head and a third of the width.
        const qreal scale = std::min({1.0, static_cast<qreal>(kHeadHeight) / head_.height(),
                                      static_cast<qreal>(blockWidth) / 3 / head_.width()});
        headRect_ = QRect(left, top, static_cast<int>(head_.width() * scale),
                          static_cast<int>(head_.height() * scale));
        welcomeLeft = headRect_.right() + 24;
    }
    welcomeRect_ = QRect(welcomeLeft, top, left + blockWidth - welcomeLeft, kHeadHeight);

    static const std::vector<std::vector<ColumnItem>> columns = {
        {{L"MENU.HEADING.SHOW", nullptr},
         {nullptr, L"NewButton"},
         {nullptr, L"OpenButton"},
         {nullptr, L"ImportButton"},
         {nullptr, L"CombineButton"},
         {nullptr, L"SaveButton"},
         {nullptr, L"SaveAsButton"},
         {nullptr, L"ExportQuelistButton"}},
        {{L"MENU.RECENT_FILES", nullptr}},
        {{L"MENU.HEADING.EDIT", nullptr},
         {nullptr, L"UndoButton"},
         {nullptr, L"RedoButton"},
         {L"MENU.HEADING.LIBRARIES", nullptr},
         {nullptr, L"EffectButton"},
         {nullptr, L"FixtureButton"},
         {nullptr, L"MidiButton"},
         {nullptr, L"ReportButton"}},
        {{L"MENU.HEADING.PROGRAM", nullptr},
         {nullptr, L"ConfigButton"},
         {nullptr, L"HelpButton"},
         {nullptr, L"WebsiteButton"}},
    };
    headings_.clear();
    const int columnTop = top + kHeadHeight + 28;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int x = left + static_cast<int>(c) * (columnWidth + kColumnGap);
        int y = columnTop;
        auto place = [&](GUI::D2DButton* button) {
            if (button != nullptr) {
                button->moveWindow(x, y, columnWidth, kButtonHeight);
                y += kButtonStep;
            }
        };
        for (const ColumnItem& item : columns[c]) {
            if (item.heading != nullptr) {
                if (y != columnTop) {
                    y += 16;
                }
                headings_.push_back({Config::tr(item.heading), QRect(x, y, columnWidth, 22)});
                y += kHeadingHeight + 4;
            } else {
                place(findButton(item.button));
            }
        }
        if (c == 1) {
            for (GUI::D2DButton* button : recentButtons_) {
                place(button);
            }
            if (recentButtons_.empty()) {
                headings_.push_back({Config::tr(L"MENU.NO_RECENT_FILES"),
                                     QRect(x, y, columnWidth, 3 * kButtonHeight)});
            }
        }
    }
}

void Menu::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSize size = target.getSize();
    QLinearGradient stage(0, 0, 0, size.height());
    stage.setColorAt(0, QColor(34, 28, 30));
    stage.setColorAt(0.35, HeaderLook::kStage.toQColor());
    stage.setColorAt(1, QColor(15, 15, 18));
    p.fillRect(QRect(QPoint(0, 0), size), stage);

    // The glow the menu unfolds from runs out from the logo as the fold grows.
    QLinearGradient glow(0, 0, size.width() * std::max(0.05f, foldValue_), 0);
    glow.setColorAt(0, HeaderLook::kAmber.toQColor());
    QColor fade = HeaderLook::kEmber.toQColor();
    fade.setAlpha(0);
    glow.setColorAt(1, fade);
    p.fillRect(QRect(0, 0, size.width(), 2), glow);

    p.save();
    p.setOpacity(std::clamp(foldValue_, 0.0f, 1.0f));
    if (!head_.isNull() && !headRect_.isEmpty()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(headRect_, head_);
    }
    const QFont title = fontOf(GUI::Graphics::TextStyle::kHeavy30, 28);
    const QFont body = fontOf(GUI::Graphics::TextStyle::kRegular18, 16);
    const QFont small = fontOf(GUI::Graphics::TextStyle::kRegular13);
    const int titleHeight = QFontMetrics(title).height();
    p.setFont(title);
    p.setPen(HeaderLook::text());
    p.drawText(QRect(welcomeRect_.left(), welcomeRect_.top(), welcomeRect_.width(), titleHeight),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QString::fromStdWString(Config::tr(L"MENU.WELCOME")));
    p.setFont(body);
    p.setPen(HeaderLook::dimText());
    const QRect bodyRect(welcomeRect_.left(), welcomeRect_.top() + titleHeight + 6,
                         welcomeRect_.width(), 44);
    const QString welcome = QString::fromStdWString(Config::tr(L"MENU.WELCOME_EX"));
    const int bodyHeight =
        QFontMetrics(body).boundingRect(bodyRect, Qt::TextWordWrap, welcome).height();
    p.drawText(bodyRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, welcome);
    p.setFont(small);
    p.setPen(HeaderLook::kAmber.toQColor());
    const QRect versionRect(welcomeRect_.left(), bodyRect.top() + bodyHeight + 8,
                            welcomeRect_.width(), 18);
    p.drawText(versionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QString::fromStdWString(Config::tr(L"MENU.VERSION") + L" " +
                                       Platform::fromUtf8(SKYFIREWRIGHT_VERSION)));
    p.restore();

    const QFont headingFont = fontOf(GUI::Graphics::TextStyle::kHeavy10, 12);
    for (const Heading& heading : headings_) {
        if (heading.rect.height() > 22) {
            // No recent files yet: a quiet line where they will be.
            p.setFont(fontOf(GUI::Graphics::TextStyle::kRegular13));
            p.setPen(HeaderLook::dimText());
            // Wrapped: a narrow column must not cut the sentence.
            p.drawText(heading.rect.adjusted(14, 8, -4, 0),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                       QString::fromStdWString(heading.text));
            continue;
        }
        QFont font = headingFont;
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
        p.setFont(font);
        p.setPen(HeaderLook::kAmber.toQColor());
        p.drawText(heading.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::fromStdWString(heading.text).toUpper());
        QColor rule = HeaderLook::kEdge.toQColor();
        p.fillRect(QRect(heading.rect.left(), heading.rect.bottom() + 2, heading.rect.width(), 1),
                   rule);
    }
}

}  // namespace GUIMain
