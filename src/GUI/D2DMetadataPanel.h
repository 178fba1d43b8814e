#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GUI/D2DButton.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/D2DPanel.h"
#include "Platform/ListenerSet.h"

namespace GUI {

class BasicLayout;

// The key/value metadata of the selected cues, one row per key: a key edit, a value edit and
// a remove button; below them a new-key row whose key edit adds a key. The panel changes
// nothing itself: its listeners turn the edits into operations and then set the rows again.
//
// Keys and values containing "~" are refused (the field keeps the focus) and reported as
// "ERROR.INVALID_METADATA_TILDE" to the error reporter. Keys given a label (the reserved
// keys, which begin with "~") show the label and cannot be renamed.
class D2DMetadataPanel : public D2DPanel {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void keyAdded(D2DMetadataPanel* /*panel*/, const std::wstring& /*key*/) {}
        virtual void keyRemoved(D2DMetadataPanel* /*panel*/, int /*row*/) {}
        virtual void valueChanged(D2DMetadataPanel* /*panel*/, int /*row*/,
                                  const std::wstring& /*value*/, bool /*byEnter*/)
        {
        }
        virtual void keyChanged(D2DMetadataPanel* /*panel*/, int /*row*/,
                                const std::wstring& /*newKey*/)
        {
        }
    };

    enum RowKind { kKeyRow = 1, kNewKeyRow = 2 };
    using Rows = std::vector<std::pair<std::wstring, std::wstring>>;
    // Told the localization key of a refused edit.
    using ErrorReporter = std::function<void(const std::wstring& errorKey)>;

    static constexpr int kRowHeight = 24;
    static constexpr int kRowPitch = 28;

    explicit D2DMetadataPanel(WidgetColors colors = {});
    ~D2DMetadataPanel() override;

    std::wstring getWindowClassName() const override { return L"D2DMetadataPanel"; }
    void onCreate() override;

    // The key rows, in order (key, value); the new-key row follows them. Rows are reused
    // by position, so a field being edited keeps its window.
    void setRows(const Rows& rows);
    // Labels (already localized texts) for keys shown under another name.
    void setKeyLabels(std::map<std::wstring, std::wstring> labels);
    // The caption of the remove buttons.
    void setRemoveCaption(const std::wstring& caption);
    void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }

    // Key rows; the new-key row is row getRowCount().
    int getRowCount() const { return static_cast<int>(rows_.size()) - 1; }
    int getRowKind(int row) const;
    const std::wstring& getKey(int row) const;
    const std::wstring& getValue(int row) const;
    D2DEditLabel* getKeyEdit(int row) const;
    D2DEditLabel* getValueEdit(int row) const;
    D2DButton* getRemoveButton(int row) const;

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    class RowBox;

    class NameEditListener : public D2DEditLabel::Listener {
    public:
        explicit NameEditListener(D2DMetadataPanel* panel) : panel_(panel) {}
        bool commit(D2DEditLabel* label, bool byEnter) override;
        void revert(D2DEditLabel* label) override;

    private:
        D2DMetadataPanel* panel_;
    };

    class ValueEditListener : public D2DEditLabel::Listener {
    public:
        explicit ValueEditListener(D2DMetadataPanel* panel) : panel_(panel) {}
        bool commit(D2DEditLabel* label, bool byEnter) override;
        void revert(D2DEditLabel* label) override;

    private:
        D2DMetadataPanel* panel_;
    };

    class RemoveKeyButtonListener : public D2DButton::Listener {
    public:
        explicit RemoveKeyButtonListener(D2DMetadataPanel* panel) : panel_(panel) {}
        void clicked(D2DButton* button) override;

    private:
        D2DMetadataPanel* panel_;
    };

    struct Row {
        RowBox* box = nullptr;
        D2DEditLabel* key = nullptr;
        D2DEditLabel* value = nullptr;
        D2DButton* remove = nullptr;
        int kind = kKeyRow;
        std::wstring keyText;
        std::wstring valueText;
    };

    void buildRows();
    void addRow();
    BasicLayout* valueLayout() const;
    BasicLayout* removeLayout() const;
    void configureRow(Row& row, int kind, const std::wstring& key, const std::wstring& value);
    std::wstring shownKey(const Row& row) const;
    // The row whose key edit, value edit or remove button this is; -1 when none.
    int findRow(const void* widget) const;
    void reportError(const std::wstring& key) const;

    Rows data_;
    std::map<std::wstring, std::wstring> keyLabels_;
    std::wstring removeCaption_ = L"\u00D7";
    int removeWidth_;  // grows with a longer caption
    ErrorReporter errorReporter_;
    D2DContainer* rowsBox_ = nullptr;
    std::vector<Row> rows_;
    int nextRowId_ = 0;
    NameEditListener nameEditListener_{this};
    ValueEditListener valueEditListener_{this};
    RemoveKeyButtonListener removeKeyButtonListener_{this};
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUI
