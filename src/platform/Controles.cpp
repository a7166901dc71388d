#include "Controles.h"
#include "Caracteres.h"
#include "Erro.h"
#include "Form.h"
#include "MsgBox.h"
#include "Teclado.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCollator>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QMenu>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>
#include "platform/Colacao.h"
#include <array>
#include <vector>

// ---------------------------------------------------------------------------
// Order of the sorted lists

namespace {
// Index where a new text goes so that equal texts keep the order in which
// they were added (after the existing equals).
template <class Texto>
int posicaoOrdenada(int n, Texto texto, const QString& novo, int lo = 0) {
    int hi = n;
    while (lo < hi) {
        const int meio = lo + (hi - lo) / 2;
        if (Compara_Texto_Lista(texto(meio), novo) <= 0)
            lo = meio + 1;
        else
            hi = meio;
    }
    return lo;
}
}  // namespace

int Compara_Texto_Lista(const QString& a, const QString& b) { return Compara_PTBR(a, b); }

// ---------------------------------------------------------------------------
// Events

namespace {
void mostraErro(const std::exception& e) {
    const auto* erro = dynamic_cast<const ErroExecucao*>(&e);
    const QString titulo = QStringLiteral("Erro ") + QString::number(erro ? erro->Number : 5);
    const QString texto = erro ? erro->Description : QString::fromLocal8Bit(e.what());
    MsgBox(texto.isEmpty() ? titulo : texto, vbCritical, titulo);
}

TratadorErro& tratador() {
    static TratadorErro t = mostraErro;
    return t;
}
}  // namespace

void Define_Tratador_Eventos(TratadorErro t) { tratador() = t ? std::move(t) : TratadorErro(mostraErro); }

// Only standard exceptions are caught: nothing of the program throws any
// other kind, and the tests' stand-in for ending the program at once
// unwinds through here with one of its own.
void Dispara(const Evento& evento) {
    if (!evento) return;
    try {
        evento();
    } catch (const std::exception& e) {
        tratador()(e);
    }
}

namespace {
Form* formDe(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* f = qobject_cast<Form*>(w)) return f;
    return nullptr;
}

// Focus that moves to another application, to a message box, to a popup or
// to another form is not the control's business: the form keeps its active
// control, and LostFocus/GotFocus are about moves inside the form.
bool focoNoForm(QWidget* controle, const QFocusEvent* e) {
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return false;
    if (e->type() == QEvent::FocusOut) {
        // No new focus: an MDI child being deactivated clears it.
        QWidget* novo = QApplication::focusWidget();
        if (!novo || (novo != controle && formDe(novo) != formDe(controle))) return false;
    }
    return true;
}

QColor corDe(const QWidget* w, QPalette::ColorRole papel) { return w->palette().color(papel); }

void poeCor(QWidget* w, QPalette::ColorRole papel, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Active, papel, c);
    p.setColor(QPalette::Inactive, papel, c);
    w->setPalette(p);
}

void erroIndice(int i) {
    Levanta_Erro(381, QStringLiteral("Índice de matriz de propriedade inválido: %1").arg(i));
}
}  // namespace

// ---------------------------------------------------------------------------
// TextBox


class LimiteTexto : public QValidator {
public:
    explicit LimiteTexto(TextBox* caixa) : QValidator(caixa), caixa_(caixa) {}
    State validate(QString& s, int&) const override {
        const int lim = caixa_->limite_;
        if (lim <= 0) return Acceptable;
        // A text already longer than the limit (set by the program) may still
        // be shortened; it may not grow.
        const qsizetype n = Caracteres::Conta(s);
        if (n <= lim || n <= caixa_->tamanhoAceito_ || n <= caixa_->tetoColagem_) return Acceptable;
        return Invalid;
    }

private:
    TextBox* caixa_;
};

TextBox::TextBox(QWidget* pai) : QLineEdit(pai) {
    setValidator(new LimiteTexto(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        tamanhoAceito_ = int(Caracteres::Conta(t));
        Dispara(Change);
    });
}

void TextBox::setText_(const QString& t) {
    tamanhoAceito_ = std::max(tamanhoAceito_, int(Caracteres::Conta(t)));
    setText(t);
    tamanhoAceito_ = int(Caracteres::Conta(text()));
}

void TextBox::setMaxLength_(int n) { limite_ = n > 0 ? n : 0; }

// A paste goes in as the same characters typed would: through KeyPress
// (upper case, refused keys), without control characters, and up to the
// limit, where a typed text stops too; Qt's own paste would refuse a text
// too long whole and store line breaks.
void TextBox::Cola(QClipboard::Mode modo) {
    if (isReadOnly()) return;
    Insere_Como_Digitado(QGuiApplication::clipboard()->text(modo));
}

void TextBox::Insere_Como_Digitado(const QString& texto) {
    // A text set by the program beyond the limit may be shortened, not grow.
    const int teto = std::max(limite_, int(Caracteres::Conta(text())));
    const QScopedValueRollback<int> colando(tetoColagem_, teto);
    Teclado::colaComoDigitado(this, texto, KeyPress, [this, teto](const QString& novo) {
        if (limite_ <= 0) return true;
        QString depois = text();
        const int de = hasSelectedText() ? selectionStart() : cursorPosition();
        depois.replace(de, hasSelectedText() ? selectedText().size() : 0, novo);
        return Caracteres::Conta(depois) <= teto;
    });
}

void TextBox::setForeColor(const QColor& c) { poeCor(this, QPalette::Text, c); }
QColor TextBox::ForeColor() const { return corDe(this, QPalette::Text); }

void TextBox::keyPressEvent(QKeyEvent* e) {
    Teclado::processaTecla(e, KeyDown, KeyPress, [this](QKeyEvent* ev) {
        if (ev->matches(QKeySequence::Paste)) {
            Cola();
            ev->accept();
            return;
        }
        QLineEdit::keyPressEvent(ev);
    });
}

namespace {
// The line edit's standard context menu, its "Colar" pasting through `cola`.
void menuComColar(QLineEdit* caixa, const QPoint& onde, const std::function<void()>& cola) {
    QMenu* menu = caixa->createStandardContextMenu();
    // The standard menu names its paste action only by its (translated)
    // caption, followed by a tab and the shortcut.
    const QString legenda = QLineEdit::tr("&Paste");
    for (QAction* a : menu->actions()) {
        if (a->text().section(QLatin1Char('\t'), 0, 0) != legenda) continue;
        a->setObjectName(QStringLiteral("edit-paste"));
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, caixa, cola);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(onde);
}

// The middle button pastes the mouse selection where the system has one.
bool colaDoMeio(QLineEdit* caixa, const QMouseEvent* e) {
    return e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() && !caixa->isReadOnly();
}

// A text dropped from elsewhere goes in where it is dropped; one dragged
// within the box was typed there already, and Qt moves it.
bool soltaDeFora(QLineEdit* caixa, QDropEvent* e, const std::function<void(const QString&)>& insere) {
    if (e->source() == caixa || caixa->isReadOnly() || !e->mimeData()->hasText()) return false;
    caixa->deselect();
    caixa->setCursorPosition(caixa->cursorPositionAt(e->position().toPoint()));
    insere(e->mimeData()->text());
    e->setDropAction(Qt::CopyAction);
    e->accept();
    return true;
}
}  // namespace

void TextBox::contextMenuEvent(QContextMenuEvent* e) { menuComColar(this, e->globalPos(), [this] { Cola(); }); }

void TextBox::mouseReleaseEvent(QMouseEvent* e) {
    if (colaDoMeio(this, e)) {
        deselect();  // the press already put the cursor where the text goes
        Cola(QClipboard::Selection);
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TextBox::dropEvent(QDropEvent* e) {
    if (!soltaDeFora(this, e, [this](const QString& t) { Insere_Como_Digitado(t); })) QLineEdit::dropEvent(e);
}

void TextBox::keyReleaseEvent(QKeyEvent* e) {
    Teclado::processaSoltura(e, KeyUp);
    QLineEdit::keyReleaseEvent(e);
}

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
    Teclado::processaEntrada(e, KeyPress, [this](QInputMethodEvent* ev) { QLineEdit::inputMethodEvent(ev); });
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (focoNoForm(this, e)) Dispara(LostFocus);
}

void TextBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (focoNoForm(this, e)) Dispara(GotFocus);
}

// ---------------------------------------------------------------------------
// ComboBox

namespace {
// The rows of a combo box's list are as tall as the font's line, but the
// accents of capitals (Á, Ê, Ó) rise above that line in the fonts in use,
// and each row is clipped to its height: the accents came out cut. The rows
// get room above and below the line for them; the style's own delegate
// still draws every row, text centred.
class LinhaComAcentos : public QAbstractItemDelegate {
public:
    LinhaComAcentos(QAbstractItemDelegate* base, QObject* pai) : QAbstractItemDelegate(pai), base_(base) {}

    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        if (base_) base_->paint(p, o, i);
    }
    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        QSize s = base_ ? base_->sizeHint(o, i) : QSize();
        // Asked once per row: long lists of names must not measure the
        // accents again for each one.
        if (altura_ < 0 || o.font != fonte_) {
            const QFontMetrics fm(o.font);
            const QRect tinta = fm.tightBoundingRect(QStringLiteral("ÁÉÊÓÚÇ"));
            const int sobra = std::max({0, -tinta.top() - fm.ascent(), tinta.bottom() + 1 - fm.descent()});
            fonte_ = o.font;
            altura_ = fm.height() + 2 * sobra + 2;
        }
        s.setHeight(std::max(s.height(), altura_));
        return s;
    }
    bool editorEvent(QEvent* e, QAbstractItemModel* m, const QStyleOptionViewItem& o, const QModelIndex& i) override {
        return base_ && base_->editorEvent(e, m, o, i);
    }

private:
    QPointer<QAbstractItemDelegate> base_;
    mutable QFont fonte_;
    mutable int altura_ = -1;
};
}  // namespace

ComboBox::ComboBox(QWidget* pai, int estilo) : QComboBox(pai), estilo_(estilo) {
    setEditable(estilo != 2);
    // After setEditable, which chooses the style's delegate; set on the view
    // so that the style's delegate stays alive under the new one.
    view()->setItemDelegate(new LinhaComAcentos(view()->itemDelegate(), view()));
    setInsertPolicy(QComboBox::NoInsert);
    if (QLineEdit* le = lineEdit()) {
        // No completion while typing, and no item chosen behind the user's
        // back when a typed text happens to equal one: only choosing in the
        // list, the arrow keys or the program select an item.
        setCompleter(nullptr);
        disconnect(le, &QLineEdit::editingFinished, this, nullptr);
    }
    connect(this, &QComboBox::activated, this, [this](int i) {
        if (i >= 0) Dispara(Click);
    });
    // Its text box pastes, and takes a drop, as the form's own text boxes do.
    if (QLineEdit* le = lineEdit()) le->installEventFilter(this);
}

void ComboBox::Cola(QClipboard::Mode modo) {
    QLineEdit* le = lineEdit();
    if (!le || le->isReadOnly()) return;
    Teclado::colaComoDigitado(le, QGuiApplication::clipboard()->text(modo), KeyPress);
}

bool ComboBox::eventFilter(QObject* objeto, QEvent* e) {
    QLineEdit* le = lineEdit();
    if (!le || objeto != le) return QComboBox::eventFilter(objeto, e);
    switch (e->type()) {
    case QEvent::ContextMenu:
        menuComColar(le, static_cast<QContextMenuEvent*>(e)->globalPos(), [this] { Cola(); });
        return true;
    case QEvent::MouseButtonRelease:
        if (!colaDoMeio(le, static_cast<QMouseEvent*>(e))) break;
        le->deselect();
        Cola(QClipboard::Selection);
        return true;
    case QEvent::Drop:
        return soltaDeFora(le, static_cast<QDropEvent*>(e),
                           [this, le](const QString& t) { Teclado::colaComoDigitado(le, t, KeyPress); });
    default:
        break;
    }
    return QComboBox::eventFilter(objeto, e);
}

void ComboBox::AddItem(const QString& texto) {
    const int pos = ordenado_ ? posicaoOrdenada(count(), [this](int i) { return itemText(i); }, texto) : count();
    const int antes = currentIndex();
    const QString digitado = lineEdit() ? lineEdit()->text() : QString();
    insertItem(pos, texto);
    // Qt selects the first item put into an empty combo; adding selects nothing.
    if (antes < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        if (lineEdit()) lineEdit()->setText(digitado);
    }
    novoIndice_ = pos;
}

void ComboBox::Clear() {
    clear();
    if (lineEdit()) lineEdit()->clear();
    novoIndice_ = -1;
}

qint64 ComboBox::ItemData(int i) const {
    if (i < 0 || i >= count()) erroIndice(i);
    return itemData(i, Qt::UserRole).toLongLong();
}

void ComboBox::setItemData_(int i, qint64 valor) {
    if (i < 0 || i >= count()) erroIndice(i);
    setItemData(i, QVariant(qlonglong(valor)), Qt::UserRole);
}

void ComboBox::limpaSelecao() {
    if (currentIndex() < 0) return;
    QLineEdit* le = lineEdit();
    const QString texto = le ? le->text() : QString();
    setCurrentIndex(-1);
    if (le && le->text() != texto) le->setText(texto);
}

void ComboBox::setListIndex(int i) {
    if (i < -1 || i >= count()) Levanta_Erro(380, QStringLiteral("Valor de propriedade inválido: %1").arg(i));
    if (i == -1) {
        limpaSelecao();
        return;
    }
    setCurrentIndex(i);
    if (lineEdit() && lineEdit()->text() != itemText(i)) lineEdit()->setText(itemText(i));
    Dispara(Click);
}

QString ComboBox::Text() const {
    if (lineEdit()) return lineEdit()->text();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void ComboBox::setText_(const QString& t) {
    if (lineEdit()) {
        lineEdit()->setText(t);
        return;
    }
    const int i = t.isEmpty() ? -1 : findText(t, Qt::MatchFixedString);
    if (i >= 0) setListIndex(i);
    else limpaSelecao();
}

void ComboBox::keyPressEvent(QKeyEvent* e) {
    Teclado::processaTecla(e, KeyDown, KeyPress, [this](QKeyEvent* ev) {
        if (lineEdit() && ev->matches(QKeySequence::Paste)) {
            Cola();
            ev->accept();
            return;
        }
        QComboBox::keyPressEvent(ev);
    });
}

void ComboBox::keyReleaseEvent(QKeyEvent* e) {
    Teclado::processaSoltura(e, KeyUp);
    QComboBox::keyReleaseEvent(e);
}

void ComboBox::inputMethodEvent(QInputMethodEvent* e) {
    Teclado::processaEntrada(e, KeyPress, [this](QInputMethodEvent* ev) { QComboBox::inputMethodEvent(ev); });
}

void ComboBox::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    if (focoNoForm(this, e)) Dispara(LostFocus);
}

// ---------------------------------------------------------------------------
// ListBox

ListBox::ListBox(QWidget* pai) : QListWidget(pai) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Fixed-pitch fonts draw the accents of capitals above the line box;
    // without room above each row they are cut off.
    setStyleSheet(QStringLiteral("QListWidget::item { padding-top: 2px; }"));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!mudancaInterna_ && ListIndex() >= 0) Dispara(Click);
    });
}

void ListBox::AddItem(const QString& texto) {
    const int pos = ordenado_ ? posicaoOrdenada(count(), [this](int i) { return item(i)->text(); }, texto) : count();
    {
        const QScopedValueRollback<bool> interna(mudancaInterna_, true);
        insertItem(pos, texto);
    }
    novoIndice_ = pos;
}

void ListBox::AddItems(const QStringList& textos, const std::function<void(QListWidgetItem*, qsizetype)>& preenche) {
    const qsizetype n = textos.size();
    if (n == 0) return;
    std::vector<qsizetype> ordem(static_cast<size_t>(n));
    for (qsizetype k = 0; k < n; ++k) ordem[size_t(k)] = k;
    if (ordenado_)
        std::stable_sort(ordem.begin(), ordem.end(),
                         [&](qsizetype a, qsizetype b) { return Compara_Texto_Lista(textos[a], textos[b]) < 0; });
    std::vector<int> linha(static_cast<size_t>(n));
    const int antes = count();
    {
        const QScopedValueRollback<bool> interna(mudancaInterna_, true);
        if (!ordenado_ || antes == 0 || Compara_Texto_Lista(item(antes - 1)->text(), textos[ordem[0]]) <= 0) {
            // All after the rows already there: one insertion for the block.
            QStringList emOrdem;
            emOrdem.reserve(n);
            for (qsizetype i = 0; i < n; ++i) {
                emOrdem.append(textos[ordem[size_t(i)]]);
                linha[size_t(ordem[size_t(i)])] = antes + int(i);
            }
            insertItems(antes, emOrdem);
        } else {
            // Merged with them: each in turn, never before the one before it.
            int pos = 0;
            for (const qsizetype k : ordem) {
                pos = posicaoOrdenada(count(), [this](int i) { return item(i)->text(); }, textos[k], pos);
                insertItem(pos, textos[k]);
                linha[size_t(k)] = pos++;
            }
        }
    }
    if (preenche) {
        // Data beyond what a row shows: no view needs to hear of it.
        const QSignalBlocker silencio(model());
        for (qsizetype k = 0; k < n; ++k) preenche(item(linha[size_t(k)]), k);
    }
    novoIndice_ = linha[size_t(n - 1)];
}

void ListBox::RemoveItem(int i) {
    if (i < 0 || i >= count()) Levanta_Erro(5, QStringLiteral("Chamada de procedimento ou argumento inválido"));
    const bool eraSelecionada = ListIndex() == i;
    const QScopedValueRollback<bool> interna(mudancaInterna_, true);
    delete takeItem(i);
    // As with the forms' lists, removing the selected row leaves no row
    // selected, so a second Delete does not fall on a row the user never chose.
    if (eraSelecionada) {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

void ListBox::Clear() {
    {
        const QScopedValueRollback<bool> interna(mudancaInterna_, true);
        clear();
    }
    novoIndice_ = -1;
}

QString ListBox::List(int i) const {
    const QListWidgetItem* it = item(i);
    return it ? it->text() : QString();
}

QStringList ListBox::Textos() const {
    QStringList r;
    r.reserve(count());
    for (int i = 0; i < count(); ++i) r << item(i)->text();
    return r;
}

qint64 ListBox::ItemData(int i) const {
    const QListWidgetItem* it = item(i);
    if (!it) erroIndice(i);
    return it->data(Qt::UserRole).toLongLong();
}

void ListBox::setItemData_(int i, qint64 valor) {
    QListWidgetItem* it = item(i);
    if (!it) erroIndice(i);
    it->setData(Qt::UserRole, QVariant(qlonglong(valor)));
}

int ListBox::ListIndex() const {
    const QModelIndexList sel = selectionModel()->selectedIndexes();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void ListBox::setListIndex(int i) {
    if (i < -1 || i >= count()) Levanta_Erro(380, QStringLiteral("Valor de propriedade inválido: %1").arg(i));
    {
        const QScopedValueRollback<bool> interna(mudancaInterna_, true);
        if (i < 0) {
            setCurrentItem(nullptr);
            clearSelection();
            return;
        }
        setCurrentRow(i);
    }
    Dispara(Click);
}

void ListBox::setMultiSelect(int modo) {
    if (modo < 0 || modo > 2) Levanta_Erro(380, QStringLiteral("Valor de propriedade inválido: %1").arg(modo));
    multi_ = modo;
    setSelectionMode(modo == 1   ? QAbstractItemView::MultiSelection
                     : modo == 2 ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
}

bool ListBox::Selected(int i) const {
    const QListWidgetItem* it = item(i);
    if (!it) erroIndice(i);
    return it->isSelected();
}

void ListBox::setSelected_(int i, bool v) {
    QListWidgetItem* it = item(i);
    if (!it) erroIndice(i);
    const QScopedValueRollback<bool> interna(mudancaInterna_, true);
    it->setSelected(v);
}

void ListBox::SelecionaTodos(bool v) {
    const QScopedValueRollback<bool> interna(mudancaInterna_, true);
    if (!v) {
        clearSelection();
        return;
    }
    if (count() == 0) return;
    // One range for the whole list: a selection of thousands of rows made
    // row by row would signal each of them.
    selectionModel()->select(QItemSelection(model()->index(0, 0), model()->index(count() - 1, 0)),
                             QItemSelectionModel::Select);
}

int ListBox::SelCount() const { return int(selectionModel()->selectedIndexes().size()); }

void ListBox::keyPressEvent(QKeyEvent* e) {
    Teclado::processaTecla(e, KeyDown, {}, [this](QKeyEvent* ev) { QListWidget::keyPressEvent(ev); });
}

void ListBox::keyReleaseEvent(QKeyEvent* e) {
    Teclado::processaSoltura(e, KeyUp);
    QListWidget::keyReleaseEvent(e);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListWidget::mouseDoubleClickEvent(e);
    if (itemAt(e->position().toPoint())) Dispara(DblClick);
}

// ---------------------------------------------------------------------------
// Buttons, labels, frames

OptionButton::OptionButton(const QString& legenda, QWidget* pai) : QRadioButton(legenda, pai) {
    connect(this, &QAbstractButton::toggled, this, [this](bool marcado) {
        if (marcado) Dispara(Click);
    });
}

void OptionButton::setValue(bool v) {
    if (v) {
        setChecked(true);
        return;
    }
    if (!isChecked()) return;
    // Exclusive buttons refuse to be unchecked; lift the rule for the moment.
    QButtonGroup* g = group();
    const bool grupoExclusivo = g && g->exclusive();
    const bool auto_ = autoExclusive();
    if (grupoExclusivo) g->setExclusive(false);
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(auto_);
    if (grupoExclusivo) g->setExclusive(true);
}

void OptionButton::mousePressEvent(QMouseEvent* e) {
    if (MouseDown) {
        QPointer<OptionButton> vivo(this);
        Dispara(MouseDown);
        if (!vivo) return;
        // A box shown by the handler took the button's release: the press
        // still chooses this option instead of leaving the button held down.
        if (e->button() == Qt::LeftButton && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
            e->accept();
            setValue(true);
            return;
        }
    }
    QRadioButton::mousePressEvent(e);
}

void OptionButton::setForeColor(const QColor& c) { poeCor(this, QPalette::WindowText, c); }
QColor OptionButton::ForeColor() const { return corDe(this, QPalette::WindowText); }

CheckBox::CheckBox(const QString& legenda, QWidget* pai) : QCheckBox(legenda, pai) {
    connect(this, &QAbstractButton::toggled, this, [this](bool) { Dispara(Click); });
}

void CheckBox::setForeColor(const QColor& c) { poeCor(this, QPalette::WindowText, c); }
QColor CheckBox::ForeColor() const { return corDe(this, QPalette::WindowText); }

Label::Label(const QString& legenda, QWidget* pai) : QLabel(legenda, pai) {}

void Label::setForeColor(const QColor& c) { poeCor(this, QPalette::WindowText, c); }
QColor Label::ForeColor() const { return corDe(this, QPalette::WindowText); }

Frame::Frame(const QString& legenda, QWidget* pai) : QGroupBox(legenda, pai) {}

CommandButton::CommandButton(const QString& legenda, QWidget* pai) : QPushButton(legenda, pai) {
    connect(this, &QAbstractButton::clicked, this, [this] { Dispara(Click); });
}

// ---------------------------------------------------------------------------
// Timer

Timer::Timer(QObject* pai, int intervalo) : QObject(pai) {
    relogio_.setInterval(intervalo);
    connect(&relogio_, &QTimer::timeout, this, [this] { Dispara(Tick); });
}
