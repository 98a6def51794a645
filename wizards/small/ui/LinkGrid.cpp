#include "LinkGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ondrelo/ButtonST.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/QtWindow.h"

namespace smallset {

using ondrelo::FromQt;
using ondrelo::ToQt;

namespace {

// Calls back when a widget gains or loses the keyboard focus.
class CFocusWatch : public QObject {
public:
    CFocusWatch(QWidget* widget, std::function<void()> in, std::function<void()> out)
        : QObject(widget), m_in(std::move(in)), m_out(std::move(out)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && m_in) {
            m_in();
        } else if (event->type() == QEvent::FocusOut && m_out) {
            m_out();
        }
        return false;
    }

private:
    std::function<void()> m_in;
    std::function<void()> m_out;
};

QFont EditorFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    return font;
}

}  // namespace

// ---- CLinkGrid -------------------------------------------------------------------

CLinkGrid::CLinkGrid(CLinkTable& table, QWidget* parent)
    : QAbstractScrollArea(parent), m_table(table) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);

    m_line = new QLineEdit(viewport());
    m_line->setFont(EditorFont());
    m_line->setFrame(false);
    m_line->hide();
    m_line->installEventFilter(this);
    QObject::connect(m_line, &QLineEdit::textEdited, m_line, [this](const QString& text) {
        if (onEditorText) {
            onEditorText(FromQt(text));
        }
    });

    m_drop = new QComboBox(viewport());
    m_drop->setEditable(true);
    m_drop->setFont(EditorFont());
    m_drop->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& choice : TargetChoices()) {
        m_drop->addItem(ToQt(choice));
    }
    m_drop->hide();
    m_drop->installEventFilter(this);
    m_drop->lineEdit()->installEventFilter(this);
    QObject::connect(m_drop, &QComboBox::editTextChanged, m_drop, [this](const QString& text) {
        if (m_editor == m_drop && onEditorText) {
            onEditorText(FromQt(text));
        }
    });
    UpdateScrollBar();
}

int CLinkGrid::RowHeight() const {
    return std::max(fontMetrics().height(), QFontMetrics(EditorFont()).height()) + 6;
}

QRect CLinkGrid::CellRect(int row, int col) const {
    const int width = CLinkTable::ColumnWidth(viewport()->width(), m_table.GetCols());
    const int h = RowHeight();
    const int y = row == 0 ? 0 : (row - 1 - verticalScrollBar()->value() + 1) * h;
    return QRect(2 + col * width, y, width, h);
}

bool CLinkGrid::CellAt(const QPoint& point, int& row, int& col) const {
    const int width = CLinkTable::ColumnWidth(viewport()->width(), m_table.GetCols());
    const int h = RowHeight();
    if (width <= 0 || point.y() < h || point.x() < 2) {
        return false;
    }
    row = point.y() / h + verticalScrollBar()->value();
    col = (point.x() - 2) / width;
    return row >= 1 && row < m_table.GetRows() && col < m_table.GetCols();
}

void CLinkGrid::Refresh() {
    if (IsEditing() && m_editRow >= m_table.GetRows()) {
        CancelEditor();
    }
    UpdateScrollBar();
    EnsureVisible(m_table.GetRow());
    PlaceEditor();
    viewport()->update();
    if (onCurrentChanged) {
        onCurrentChanged();
    }
}

void CLinkGrid::SetCurrent(int row, int col) {
    if (IsEditing() && (row != m_editRow || col != m_editCol)) {
        CommitEditor();
    }
    m_table.SetCurrent(row, col);
    EnsureVisible(m_table.GetRow());
    viewport()->update();
    if (onCurrentChanged) {
        onCurrentChanged();
    }
}

void CLinkGrid::OpenEditor(const std::string& text, bool selectAll) {
    if (IsEditing()) {
        CommitEditor();
    }
    m_editRow = m_table.GetRow();
    m_editCol = m_table.GetCol();
    EnsureVisible(m_editRow);
    if (m_dropColumns.count(m_editCol)) {
        m_editor = m_drop;
        const int index = m_drop->findText(ToQt(text), Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index >= 0) {
            m_drop->setCurrentIndex(index);
        }
        m_drop->setEditText(ToQt(text));
    } else {
        m_editor = m_line;
        m_line->setText(ToQt(text));
    }
    PlaceEditor();
    m_editor->show();
    m_editor->setFocus();
    QLineEdit* edit = m_editor == m_drop ? m_drop->lineEdit() : m_line;
    if (selectAll) {
        edit->selectAll();
    } else {
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
    }
    if (onEditorText) {
        onEditorText(text);
    }
}

bool CLinkGrid::IsEditing() const {
    return m_editor != nullptr;
}

QWidget* CLinkGrid::Editor() const {
    return m_editor;
}

std::string CLinkGrid::EditorText() const {
    return m_editor == m_drop ? FromQt(m_drop->currentText()) : FromQt(m_line->text());
}

void CLinkGrid::CommitEditor() {
    if (!m_editor) {
        return;
    }
    const std::string text = EditorText();
    QWidget* editor = m_editor;
    m_editor = nullptr;  // hiding moves the focus, which must not commit twice
    editor->hide();
    if (m_editRow < m_table.GetRows() && m_editCol < m_table.GetCols()) {
        m_table.SetCell(m_editRow, m_editCol, text);
        if (onCellChanged) {
            onCellChanged();
        }
    }
    viewport()->update();
}

void CLinkGrid::CancelEditor() {
    if (!m_editor) {
        return;
    }
    QWidget* editor = m_editor;
    m_editor = nullptr;
    // The table takes the focus before the editor goes, so that it does not
    // pass to the box below, which still mirrors the dropped text.
    setFocus();
    editor->hide();
    if (onCurrentChanged) {
        onCurrentChanged();  // the mirror shows the cell's own text again
    }
}

void CLinkGrid::PlaceEditor() {
    if (m_editor) {
        m_editor->setGeometry(CellRect(m_editRow, m_editCol).adjusted(1, 1, 0, 0));
    }
}

void CLinkGrid::UpdateScrollBar() {
    const int h = RowHeight();
    const int visible = std::max(1, viewport()->height() / h - 1);
    const int body = m_table.GetRows() - 1;
    verticalScrollBar()->setRange(0, std::max(0, body - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
}

void CLinkGrid::EnsureVisible(int row) {
    const int visible = std::max(1, viewport()->height() / RowHeight() - 1);
    const int first = verticalScrollBar()->value() + 1;
    if (row < first) {
        verticalScrollBar()->setValue(row - 1);
    } else if (row >= first + visible) {
        verticalScrollBar()->setValue(row - visible);
    }
}

void CLinkGrid::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QPalette& pal = palette();
    const int h = RowHeight();
    const int last = std::min(m_table.GetRows(), verticalScrollBar()->value() + 1 +
                                                     viewport()->height() / h + 1);
    auto drawRow = [&](int row) {
        for (int col = 0; col < m_table.GetCols(); ++col) {
            const QRect r = CellRect(row, col);
            const bool current = row == m_table.GetRow() && col == m_table.GetCol();
            if (row == 0) {
                p.fillRect(r, pal.button());
            } else if (current) {
                p.fillRect(r, hasFocus() ? pal.highlight() : pal.midlight());
            }
            p.setPen(pal.mid().color());
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(row == 0 ? pal.buttonText().color()
                              : current && hasFocus() ? pal.highlightedText().color()
                                                      : pal.text().color());
            const QString text = ToQt(m_table.GetCell(row, col));
            p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       fontMetrics().elidedText(text, Qt::ElideRight, r.width() - 8));
        }
    };
    for (int row = verticalScrollBar()->value() + 1; row < last; ++row) {
        drawRow(row);
    }
    drawRow(0);  // the fixed header stays on top while the rows scroll
}

void CLinkGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
    PlaceEditor();
}

void CLinkGrid::scrollContentsBy(int, int) {
    PlaceEditor();
    viewport()->update();
}

void CLinkGrid::mousePressEvent(QMouseEvent* event) {
    int row = 0, col = 0;
    setFocus();
    if (CellAt(event->position().toPoint(), row, col)) {
        SetCurrent(row, col);
    }
}

void CLinkGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    int row = 0, col = 0;
    if (!CellAt(event->position().toPoint(), row, col)) {
        return;
    }
    SetCurrent(row, col);
    OpenEditor(m_table.GetCell(row, col), true);
}

void CLinkGrid::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the table while its editor is open belong to the editor.
    if (m_editor) {
        // A key the editor does not take comes back up to the table: it
        // stops here instead of going round again.
        if (m_forwarding) {
            event->ignore();
            return;
        }
        m_forwarding = true;
        QWidget* target = m_editor == m_drop ? static_cast<QWidget*>(m_drop->lineEdit()) : m_line;
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                       event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QApplication::sendEvent(target, &copy);
        m_forwarding = false;
        return;
    }
    const int page = std::max(1, viewport()->height() / RowHeight() - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        SetCurrent(m_table.GetRow() - 1, m_table.GetCol());
        return;
    case Qt::Key_Down:
        SetCurrent(m_table.GetRow() + 1, m_table.GetCol());
        return;
    case Qt::Key_Left:
        SetCurrent(m_table.GetRow(), m_table.GetCol() - 1);
        return;
    case Qt::Key_Right:
        SetCurrent(m_table.GetRow(), m_table.GetCol() + 1);
        return;
    case Qt::Key_PageUp:
        SetCurrent(m_table.GetRow() - page, m_table.GetCol());
        return;
    case Qt::Key_PageDown:
        SetCurrent(m_table.GetRow() + page, m_table.GetCol());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        OpenEditor(m_table.GetCell(m_table.GetRow(), m_table.GetCol()), false);
        return;
    default:
        break;
    }
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!command && !text.isEmpty() && text.at(0).isPrint()) {
        OpenEditor(m_table.GetCell(m_table.GetRow(), m_table.GetCol()) + FromQt(text), false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CLinkGrid::focusInEvent(QFocusEvent* event) {
    CommitEditor();
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

bool CLinkGrid::eventFilter(QObject* watched, QEvent* event) {
    const bool ours = watched == m_line || watched == m_drop || watched == m_drop->lineEdit();
    if (!ours || !m_editor) {
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            CancelEditor();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            CommitEditor();
            setFocus();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving the editor for the combo box's own pop-up list is not
        // leaving the cell.
        auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() != Qt::PopupFocusReason) {
            CommitEditor();
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// ---- CLinkTableGroup ---------------------------------------------------------------

CLinkTableGroup::CLinkTableGroup(QWidget* page, CLinkTable& table, const SIds& ids,
                                 int targetColumn, bool inPlaceDropDown)
    : m_targetColumn(targetColumn) {
    m_grid = new CLinkGrid(table, page);
    ondrelo::SetControlId(m_grid, ids.table);
    if (inPlaceDropDown) {
        m_grid->SetDropDownColumn(targetColumn);
    }
    m_box = new QLineEdit(page);
    ondrelo::SetControlId(m_box, ids.textBox);
    if (ids.dropDown != 0) {
        m_drop = new QComboBox(page);
        ondrelo::SetControlId(m_drop, ids.dropDown);
        m_drop->setEditable(true);
        m_drop->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& choice : TargetChoices()) {
            m_drop->addItem(ToQt(choice));
        }
        m_drop->hide();
        new CFocusWatch(m_drop, nullptr, [this] {
            if (m_drop->lineEdit()->isModified()) {
                WriteShownText();
            }
        });
    }
    m_update = ondrelo::MakeOndButton(page, ids.update, QStringLiteral("&Update"), QRect());
    QObject::connect(m_update, &QPushButton::clicked, m_update, [this] { WriteShownText(); });

    // The box takes the focus: a visible editor goes into its cell first.
    new CFocusWatch(
        m_box,
        [this] {
            if (m_grid->IsEditing()) {
                m_grid->CommitEditor();
                ShowCurrentCell();
            }
        },
        [this] {
            // Only what the user typed there: the box may still mirror an
            // editor whose text was dropped.
            if (m_box->isModified()) {
                WriteShownText();
            }
        });
    m_grid->onCurrentChanged = [this] { ShowCurrentCell(); };
    m_grid->onEditorText = [this](const std::string& text) {
        if (ShownInDropDown()) {
            m_drop->setEditText(ToQt(text));
        } else if (m_grid->Table().GetCol() != m_targetColumn || m_drop) {
            m_box->setText(ToQt(text));
        }
    };
    ShowCurrentCell();
}

void CLinkTableGroup::Place(const QRect& tableRect, const QRect& boxRect, const QRect& updateRect) {
    m_grid->setGeometry(tableRect);
    m_box->setGeometry(boxRect);
    if (m_drop) {
        m_drop->setGeometry(boxRect);
    }
    m_update->setGeometry(updateRect);
}

bool CLinkTableGroup::ShownInDropDown() const {
    return m_drop && m_grid->Table().GetCol() == m_targetColumn;
}

void CLinkTableGroup::ShowCurrentCell() {
    const CLinkTable& table = m_grid->Table();
    const QString text = ToQt(table.GetCell(table.GetRow(), table.GetCol()));
    if (ShownInDropDown()) {
        const int index = m_drop->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index >= 0) {
            m_drop->setCurrentIndex(index);
        }
        m_drop->setEditText(text);
        m_drop->show();
        m_box->hide();
        return;
    }
    if (m_drop) {
        m_drop->hide();
        m_box->show();
    }
    // Without a drop-down below the table, the box shows every column but
    // the target column, which is edited in place only.
    m_box->setText(table.GetCol() == m_targetColumn && !m_drop ? QString() : text);
    m_box->setEnabled(m_drop || table.GetCol() != m_targetColumn);
}

void CLinkTableGroup::WriteShownText() {
    CLinkTable& table = m_grid->Table();
    if (ShownInDropDown()) {
        table.SetCell(table.GetRow(), table.GetCol(), FromQt(m_drop->currentText()));
        m_drop->lineEdit()->setModified(false);
    } else if (m_drop || table.GetCol() != m_targetColumn) {
        table.SetCell(table.GetRow(), table.GetCol(), FromQt(m_box->text()));
        m_box->setModified(false);
    } else {
        return;
    }
    m_grid->viewport()->update();
}

void CLinkTableGroup::Commit() {
    m_grid->CommitEditor();
}

}  // namespace smallset
