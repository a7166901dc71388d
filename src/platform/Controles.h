#pragma once
// Thin controls that behave as the forms expect of them: item data beside
// each list entry, sorted lists in Portuguese order, a Click that fires on
// selection, key presses that a handler can change or swallow, and a
// LostFocus that fires even when the text did not change.
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>
#include <exception>
#include <functional>

using Evento = std::function<void()>;
using EventoTecla = std::function<void(int& KeyAscii)>;
using EventoCodigoTecla = std::function<void(int& KeyCode, int Shift)>;

// Compares two texts the way the sorted lists order them: Portuguese,
// case-insensitive, accents after the plain letter.
int Compara_Texto_Lista(const QString& a, const QString& b);

// The Windows-1252 code of a character (63, "?", when it has none) and the
// character of a code; key handlers work with these codes.
int Codigo_Ansi(QChar c);
QChar Caractere_Ansi(int codigo);
// The control characters: C0, DEL and the C1 range. No box takes them
// from a paste, and a written page carries them only as references.
constexpr bool Caractere_Controle(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// Runs an event handler. An error that the handler let escape, a standard
// exception included, goes to the error handler below instead of ending the
// program from inside the event loop; the event is then over.
void Dispara(const Evento& evento);

// Where Dispara sends an escaped error. The shared module installs its own
// handler when the program starts; until then a plain box shows the error.
using TratadorErro = std::function<void(const std::exception& erro)>;
void Define_Tratador_Eventos(TratadorErro tratador);

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* pai = nullptr);
    QString Text() const { return text(); }
    void setText_(const QString& t);
    int MaxLength() const { return limite_; }
    // 0 means no limit. The limit counts characters (an emoji is one) and
    // applies to what the user types or pastes: a paste keeps the first
    // characters that fit. A text set by the program is kept whole.
    void setMaxLength_(int n);
    // Pastes the clipboard (or the mouse selection) as the user does: the
    // characters go in as typed (KeyPress, no control characters, the
    // limit), and so does a text dropped on the box.
    void Cola(QClipboard::Mode modo = QClipboard::Clipboard);
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool v) { setReadOnly(v); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    void setForeColor(const QColor& c);
    QColor ForeColor() const;

    // Events: KeyPress receives the Windows-1252 code of the typed character
    // (8 Backspace, 13 Enter) and may change it or set it to 0 to swallow it;
    // keys that type nothing (arrows, Delete) and pastes do not reach it.
    // KeyDown and KeyUp receive the virtual key code of every key (46 Delete,
    // 13 Enter, 116 F5) and the Shift state (1 Shift, 2 Ctrl, 4 Alt); a
    // KeyDown handler that sets the code to 0 swallows the key.
    EventoTecla KeyPress;
    EventoCodigoTecla KeyDown;
    EventoCodigoTecla KeyUp;
    Evento LostFocus;
    Evento GotFocus;
    Evento Change;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void Insere_Como_Digitado(const QString& texto);
    friend class LimiteTexto;
    int limite_ = 0;
    int tamanhoAceito_ = 0;  // characters of the text as it stands before an edit
    int tetoColagem_ = 0;    // during a paste: the characters the box held when it began
};

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    // Style 0: the user may type (dropdown combo); 2: list only.
    explicit ComboBox(QWidget* pai = nullptr, int estilo = 0);
    int Style() const { return estilo_; }

    void AddItem(const QString& texto);  // sorted mode inserts in order
    void Clear();
    int ListCount() const { return count(); }
    QString List(int i) const { return itemText(i); }
    qint64 ItemData(int i) const;
    void setItemData_(int i, qint64 valor);
    int NewIndex() const { return novoIndice_; }
    int ListIndex() const { return currentIndex(); }
    // -1 clears the selection (no Click) and keeps a typed text.
    void setListIndex(int i);
    QString Text() const;
    // Editable: the edit text, selecting nothing. List only: selects the
    // item with that text, or nothing.
    void setText_(const QString& t);
    bool Sorted() const { return ordenado_; }
    void setSorted(bool v) { ordenado_ = v; }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    // Pastes into the typed text as the user does: the characters go in as
    // typed (KeyPress, no control characters), and so does a drop.
    void Cola(QClipboard::Mode modo = QClipboard::Clipboard);

    Evento Click;        // an item was selected, by the user or by code
    EventoTecla KeyPress;
    EventoCodigoTecla KeyDown;
    EventoCodigoTecla KeyUp;
    Evento LostFocus;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void limpaSelecao();
    int estilo_;
    bool ordenado_ = false;
    int novoIndice_ = -1;
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* pai = nullptr);
    void AddItem(const QString& texto);  // sorted mode inserts in order
    // The texts in one block, each where AddItem one by one in their order
    // would put it (a sorted list: after its equals). preenche(item, k)
    // sets the item data (roles from Qt::UserRole) of texts[k] before any
    // view sees it. NewIndex is then the row of the last text.
    void AddItems(const QStringList& textos,
                  const std::function<void(QListWidgetItem*, qsizetype)>& preenche = {});
    // The role that ItemData reads.
    static constexpr int PapelItemData = Qt::UserRole;
    void RemoveItem(int i);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int i) const;  // empty text outside the list
    QStringList Textos() const;  // every row's text, in the list's order
    qint64 ItemData(int i) const;
    void setItemData_(int i, qint64 valor);
    int NewIndex() const { return novoIndice_; }
    int ListIndex() const;  // the selected row, -1 for none
    void setListIndex(int i);
    bool Sorted() const { return ordenado_; }
    void setSorted(bool v) { ordenado_ = v; }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }

    // Several rows selected at once: 0 one row only; 1 a click (or Space)
    // selects or deselects its row and leaves the others; 2 a click selects
    // its row alone, Shift and Ctrl extend the selection.
    int MultiSelect() const { return multi_; }
    void setMultiSelect(int modo);
    // Whether row i is selected; outside the list, error 381.
    bool Selected(int i) const;
    // Selects or deselects row i alone, without a Click; error 381 outside.
    void setSelected_(int i, bool v);
    // Every row selected or deselected at once, without a Click.
    void SelecionaTodos(bool v);
    int SelCount() const;

    Evento Click;
    Evento DblClick;
    EventoCodigoTecla KeyDown;
    EventoCodigoTecla KeyUp;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool ordenado_ = false;
    bool mudancaInterna_ = false;
    int novoIndice_ = -1;
    int multi_ = 0;
};

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& legenda = {}, QWidget* pai = nullptr);
    bool Value() const { return isChecked(); }
    void setValue(bool v);  // false unsets it even when it is the only one set
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void setForeColor(const QColor& c);
    QColor ForeColor() const;
    Evento Click;      // checked by the user or by code
    Evento MouseDown;  // a mouse press, before the button is checked

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& legenda = {}, QWidget* pai = nullptr);
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int v) { setChecked(v != 0); }
    void setForeColor(const QColor& c);
    QColor ForeColor() const;
    Evento Click;  // the value changed, by the user or by code
};

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& legenda = {}, QWidget* pai = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void setForeColor(const QColor& c);
    QColor ForeColor() const;
};

class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString& legenda = {}, QWidget* pai = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString& c) { setTitle(c); }
};

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& legenda = {}, QWidget* pai = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    Evento Click;
};

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* pai = nullptr, int intervalo = 300);
    int Interval() const { return relogio_.interval(); }
    void setInterval(int ms) { relogio_.setInterval(ms); }
    bool Enabled() const { return relogio_.isActive(); }
    void setEnabled(bool v) { v ? relogio_.start() : relogio_.stop(); }
    Evento Tick;  // the Timer event of the forms

private:
    QTimer relogio_;
};
