// The text is offered in UTF-16 characters; the editor keeps Shift_JIS
// bytes, so offsets are translated line by line. A read of the whole text
// is built once and kept until the text changes.
#include "editor/editor_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>
#include <vector>

#include "editor/editor_widget.h"
#include "editor/sjis_qstring.h"

namespace rd {

namespace {

class TEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TEditorAccessible(TEditor* editor) : QAccessibleWidget(editor, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.multiLine = true;
    s.editable = !Editor()->Model().ReadOnly;
    s.readOnly = Editor()->Model().ReadOnly;
    s.selectableText = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Whole();
    return QAccessibleWidget::text(t);
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Editor()->Model().Selected()) return;
    int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    Editor()->Model().SelectionBounds(r0, c0, r1, c1);
    *start = Offset(r0, c0);
    *end = Offset(r1, c1);
  }
  int selectionCount() const override { return Editor()->Model().Selected() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Editor()->Model().ClearSelection(); }
  void setSelection(int, int start, int end) override {
    int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    RowCol(start, r0, c0);
    RowCol(end, r1, c1);
    Editor()->Model().Select(r0, c0, r1, c1);
  }
  int cursorPosition() const override { return Offset(Editor()->Model().Row(), Editor()->Model().Col()); }
  void setCursorPosition(int position) override {
    int r = 0, c = 0;
    RowCol(position, r, c);
    Editor()->Model().SetRowCol(r, c);
  }
  QString text(int start, int end) const override {
    const QString& all = Whole();
    start = std::clamp(start, 0, static_cast<int>(all.size()));
    end = end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, static_cast<int>(all.size()));
    return all.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Whole().size()); }
  QRect characterRect(int offset) const override {
    int r = 0, c = 0;
    RowCol(offset, r, c);
    const TEditor* e = Editor();
    const QPoint origin = e->viewport()->mapToGlobal(QPoint(0, 0));
    const int x = e->TextLeft() + (c - e->Model().TopCol()) * e->CharWidth();
    const int y = e->Geometry().TextTop + (r - e->Model().TopRow()) * e->RowHeight();
    return QRect(origin + QPoint(x, y), QSize(e->CharWidth(), e->RowHeight()));
  }
  int offsetAtPoint(const QPoint&) const override { return cursorPosition(); }
  void scrollToSubstring(int start, int) override { setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    const QString& all = Whole();
    offset = std::clamp(offset, 0, static_cast<int>(all.size()));
    if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary) {
      const int line = LineOf(offset);
      *start = starts_[static_cast<std::size_t>(line)];
      *end = line + 1 < static_cast<int>(starts_.size()) ? starts_[static_cast<std::size_t>(line) + 1]
                                                          : static_cast<int>(all.size());
    } else if (type == QAccessible::NoBoundary) {
      *start = 0;
      *end = static_cast<int>(all.size());
    } else {
      *start = offset;
      *end = std::min(offset + 1, static_cast<int>(all.size()));
    }
    return all.mid(*start, *end - *start);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    return textAtOffset(std::max(0, offset - 1), type, start, end);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    return textAtOffset(offset + 1, type, start, end);
  }

 private:
  TEditor* Editor() const { return static_cast<TEditor*>(widget()); }

  // The whole text with LF between lines, and where each line starts in it.
  const QString& Whole() const {
    const TEditorModel& m = Editor()->Model();
    if (cachedVersion_ != Editor()->TextVersion() || !cached_) {
      whole_.clear();
      starts_.clear();
      lines_.clear();
      const int count = m.Lines().Count();
      for (int i = 0; i < count; ++i) {
        starts_.push_back(static_cast<int>(whole_.size()));
        lines_.push_back(FromSjis(m.Rows().RowText(i)));
        whole_ += lines_.back();
        if (i + 1 < count) whole_ += QLatin1Char('\n');
      }
      if (starts_.empty()) starts_.push_back(0);
      cachedVersion_ = Editor()->TextVersion();
      cached_ = true;
    }
    return whole_;
  }
  int LineOf(int offset) const {
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return std::max(0, static_cast<int>(it - starts_.begin()) - 1);
  }
  // The character offset of a caret position (row, column).
  int Offset(int row, int col) const {
    Whole();
    const TEditorModel& m = Editor()->Model();
    if (row >= static_cast<int>(lines_.size())) return static_cast<int>(whole_.size());
    const int byte = m.PosOf(row, col).byte;
    const std::string_view text = m.Rows().RowText(row);
    return starts_[static_cast<std::size_t>(row)] +
           static_cast<int>(FromSjis(text.substr(0, std::min<std::size_t>(byte, text.size()))).size());
  }
  void RowCol(int offset, int& row, int& col) const {
    Whole();
    row = LineOf(offset);
    if (row >= static_cast<int>(lines_.size())) {
      col = 0;
      return;
    }
    const int within = offset - starts_[static_cast<std::size_t>(row)];
    const std::string prefix = ToSjis(lines_[static_cast<std::size_t>(row)].left(within));
    col = Editor()->Model().ColOf({row, static_cast<int>(prefix.size())});
  }

  mutable QString whole_;
  mutable std::vector<int> starts_;
  mutable std::vector<QString> lines_;
  mutable quint64 cachedVersion_ = 0;
  mutable bool cached_ = false;
};

QAccessibleInterface* EditorFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("rd::TEditor") && object && object->isWidgetType())
    return new TEditorAccessible(static_cast<TEditor*>(object));
  return nullptr;
}

}  // namespace

void InstallEditorAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(EditorFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace rd
