#pragma once
// A form of the program: a window with a name, a caption, a place and size
// in twips, load/activate/unload handlers, and one instance per kind.
// Child forms live inside the main window's MDI area.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QEventLoop;
class QMdiArea;
class QMdiSubWindow;

namespace Ativacao {
void Instala();
}

class Form : public QWidget {
    Q_OBJECT
public:
    // filho: an MDI child of the main window (true) or a top-level window.
    Form(const QString& nome, bool filho, QWidget* pai = nullptr);
    ~Form() override;

    QString Name() const { return objectName(); }
    bool Filho() const { return filho_; }
    QString Caption() const;
    void setCaption(const QString& c);

    // Outer place and size in twips (of the MDI frame for a child form).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int tw);
    void setTop(int tw);
    void setWidth(int tw);
    void setHeight(int tw);  // keeps the exact twips value that was set
    // Inner (client) size in twips: the design size of the form.
    void setTamanhoCliente(int larguraTw, int alturaTw);

    // Loads the form (Form_Load runs once per load) and shows it modeless;
    // a form already shown is brought forward.
    void Show();
    // Shows the form modally; returns when it was unloaded or hidden.
    void ShowModal();
    void Hide();
    // Runs Form_Unload; unless it cancels, the form is closed and destroyed
    // (later). Returns true when the form was unloaded.
    bool Unload();
    bool Loaded() const { return carregado_; }

    // The control that has the focus inside this form, or nullptr.
    QWidget* ActiveControl() const;

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }
    virtual void Form_Resize() {}

    // Loaded forms, in load order.
    static std::vector<Form*> Forms();
    static Form* Procura(const QString& nome);
    // Every instance alive and not unloaded, loaded or not yet.
    static std::vector<Form*> Existentes();
    // The single instance of a form class, created on first use.
    template <class T>
    static T* Instancia() {
        for (Form* f : Existentes())
            if (auto* t = dynamic_cast<T*>(f)) return t;
        return new T();
    }

    // The MDI area that holds the child forms (the main window's).
    static void DefineAreaMdi(QMdiArea* area);
    // The window that holds that area, which forms centre on; nullptr
    // while there is none.
    static Form* JanelaPrincipal();

    QWidget* Moldura() const;  // the widget whose geometry is the form's outer frame

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // A place or size in twips as last set, and the pixels it gave: while the
    // pixels stay the same, the twips read back exactly as they were set.
    struct Medida {
        bool definida = false;
        int tw = 0;
        int px = 0;
    };
    void garanteCarregado();
    void criaSubJanela();
    QRect molduraPx() const;
    void aplicaMoldura(const QRect& r);
    void descarta();
    bool perguntaDescarga();  // runs Form_Unload; true when not cancelled
    static void focoMudou(QWidget* antes, QWidget* agora);

    bool filho_;
    bool carregado_ = false;
    bool descarregando_ = false;
    bool fechando_ = false;
    Medida esq_, topo_, larg_, alt_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<QEventLoop> laco_;
    QPointer<QWidget> controleAtivo_;  // kept while another form has the focus
    friend void Ativacao::Instala();
};

// Activation as the forms understood it: a form becomes the active form of
// the program after another form of the program was active. A message box
// closing, or a return from another application, is not an activation.
// Form_Activate runs from the event loop, right after the change.
namespace Ativacao {
void Instala();            // once, after the QApplication exists
}
