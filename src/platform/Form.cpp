#include "Form.h"
#include "Controles.h"
#include "Tela.h"
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <algorithm>

namespace {
std::vector<Form*>& existentes() {
    static std::vector<Form*> v;
    return v;
}
std::vector<Form*>& carregados() {
    static std::vector<Form*> v;
    return v;
}
QPointer<QMdiArea>& areaMdi() {
    static QPointer<QMdiArea> a;
    return a;
}
void retira(std::vector<Form*>& v, Form* f) { v.erase(std::remove(v.begin(), v.end(), f), v.end()); }
}  // namespace

Form::Form(const QString& nome, bool filho, QWidget* pai)
    : QWidget(filho ? nullptr : pai, filho ? Qt::WindowFlags() : Qt::WindowFlags(Qt::Window)), filho_(filho) {
    setObjectName(nome);
    Ativacao::Instala();
    existentes().push_back(this);
}

Form::~Form() {
    retira(existentes(), this);
    retira(carregados(), this);
    if (laco_) laco_->quit();
}

QString Form::Caption() const { return windowTitle(); }
void Form::setCaption(const QString& c) { setWindowTitle(c); }

// ---------------------------------------------------------------------------
// Place and size

QWidget* Form::Moldura() const {
    if (sub_) return sub_.data();
    return const_cast<Form*>(this);
}

QRect Form::molduraPx() const {
    if (sub_) return sub_->geometry();
    if (isWindow()) return frameGeometry();
    return geometry();
}

void Form::aplicaMoldura(const QRect& r) {
    if (sub_) {
        sub_->setGeometry(r);
        return;
    }
    if (isWindow()) {
        const QRect fora = frameGeometry(), dentro = geometry();
        move(r.topLeft());
        resize(std::max(0, r.width() - (fora.width() - dentro.width())),
               std::max(0, r.height() - (fora.height() - dentro.height())));
        return;
    }
    setGeometry(r);
}

namespace {
int leTwips(bool definida, int tw, int pxGuardado, int pxAtual, int (*dePixel)(int)) {
    return definida && pxGuardado == pxAtual ? tw : dePixel(pxAtual);
}
}

int Form::Left() const { return leTwips(esq_.definida, esq_.tw, esq_.px, molduraPx().x(), Twips::DePixelX); }
int Form::Top() const { return leTwips(topo_.definida, topo_.tw, topo_.px, molduraPx().y(), Twips::DePixelY); }
int Form::Width() const { return leTwips(larg_.definida, larg_.tw, larg_.px, molduraPx().width(), Twips::DePixelX); }
int Form::Height() const { return leTwips(alt_.definida, alt_.tw, alt_.px, molduraPx().height(), Twips::DePixelY); }

void Form::setLeft(int tw) {
    QRect r = molduraPx();
    r.moveLeft(Twips::ParaPixelX(tw));
    aplicaMoldura(r);
    esq_ = {true, tw, molduraPx().x()};
}

void Form::setTop(int tw) {
    QRect r = molduraPx();
    r.moveTop(Twips::ParaPixelY(tw));
    aplicaMoldura(r);
    topo_ = {true, tw, molduraPx().y()};
}

void Form::setWidth(int tw) {
    QRect r = molduraPx();
    r.setWidth(Twips::ParaPixelX(std::max(0, tw)));
    aplicaMoldura(r);
    larg_ = {true, tw, molduraPx().width()};
}

void Form::setHeight(int tw) {
    QRect r = molduraPx();
    r.setHeight(Twips::ParaPixelY(std::max(0, tw)));
    aplicaMoldura(r);
    alt_ = {true, tw, molduraPx().height()};
}

void Form::setTamanhoCliente(int larguraTw, int alturaTw) {
    const QSize cliente(Twips::ParaPixelX(larguraTw), Twips::ParaPixelY(alturaTw));
    if (sub_) {
        const QMargins m = sub_->contentsMargins();
        sub_->resize(cliente.grownBy(m));
    } else {
        resize(cliente);
    }
    larg_.definida = alt_.definida = false;
}

// ---------------------------------------------------------------------------
// Loading, showing, unloading

void Form::criaSubJanela() {
    QMdiArea* area = areaMdi();
    if (!area || sub_) return;
    const QSize cliente = size();
    const Medida e = esq_, t = topo_, l = larg_, a = alt_;
    sub_ = area->addSubWindow(this);
    sub_->setAttribute(Qt::WA_DeleteOnClose, true);
    sub_->ensurePolished();
    sub_->resize(cliente.grownBy(sub_->contentsMargins()));
    // A place or size given before the frame existed is the frame's.
    if (l.definida) setWidth(l.tw);
    if (a.definida) setHeight(a.tw);
    if (e.definida) setLeft(e.tw);
    if (t.definida) setTop(t.tw);
}

void Form::garanteCarregado() {
    if (carregado_) return;
    if (filho_) criaSubJanela();
    carregado_ = true;
    fechando_ = false;
    carregados().push_back(this);
    Form_Load();
}

void Form::Show() {
    QPointer<Form> vivo(this);
    garanteCarregado();
    if (!vivo || !carregado_) return;  // unloaded by its own load
    if (sub_) {
        sub_->show();
        sub_->raise();
        if (QMdiArea* area = areaMdi()) area->setActiveSubWindow(sub_);
        return;
    }
    show();
    raise();
    activateWindow();
}

void Form::ShowModal() {
    QPointer<Form> vivo(this);
    garanteCarregado();
    if (!vivo || !carregado_) return;
    QWidget* m = Moldura();
    if (m->isWindow()) {
        if (m->isVisible()) m->hide();
        m->setWindowModality(Qt::ApplicationModal);
    }
    QPointer<QWidget> dono = QApplication::activeWindow();
    Show();
    if (vivo && carregado_ && m->isVisible()) {
        QEventLoop laco;
        laco_ = &laco;
        laco.exec(QEventLoop::DialogExec);
        // The form may be gone: its unload can run inside this loop.
        if (vivo) {
            laco_ = nullptr;
            if (m->isWindow() && !m->isVisible()) m->setWindowModality(Qt::NonModal);
        }
    }
    // The window that opened the modal form gets the activation back, as on
    // the system the forms were made for, whatever the window manager does.
    if (dono && dono != m && dono->isVisible()) dono->activateWindow();
}

void Form::Hide() { Moldura()->hide(); }

bool Form::perguntaDescarga() {
    if (descarregando_) return false;  // an Unload from inside Form_Unload
    int cancel = 0;
    {
        const QScopedValueRollback<bool> marca(descarregando_, true);
        Form_Unload(cancel);
    }
    return cancel == 0;
}

void Form::descarta() {
    carregado_ = false;
    retira(carregados(), this);
    retira(existentes(), this);
    if (laco_) laco_->quit();
    fechando_ = true;
}

bool Form::Unload() {
    if (carregado_ && !perguntaDescarga()) return false;
    descarta();
    if (sub_) {
        sub_->close();  // the MDI area then activates the next child
    } else {
        close();
    }
    deleteLater();
    return true;
}

void Form::closeEvent(QCloseEvent* e) {
    if (fechando_) {
        e->accept();
        return;
    }
    // The user's close box, or the window system closing the window: the same
    // road as Unload, and the unload handler may refuse.
    bool fecha = true;
    if (carregado_) {
        bool erro = false;
        Dispara([&] {
            erro = true;
            fecha = perguntaDescarga();
            erro = false;
        });
        if (erro) fecha = true;
    }
    if (!fecha) {
        e->ignore();
        return;
    }
    descarta();
    e->accept();
    deleteLater();
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (carregado_) Dispara([this] { Form_Resize(); });
}

void Form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (laco_ && !e->spontaneous()) laco_->quit();
}

QWidget* Form::ActiveControl() const {
    QWidget* f = QApplication::focusWidget();
    if (f && isAncestorOf(f)) return f;
    return controleAtivo_ && isAncestorOf(controleAtivo_) ? controleAtivo_.data() : nullptr;
}

void Form::focoMudou(QWidget*, QWidget* agora) {
    for (QWidget* w = agora ? agora->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* f = qobject_cast<Form*>(w)) f->controleAtivo_ = agora;
}

// ---------------------------------------------------------------------------
// Registry

std::vector<Form*> Form::Forms() { return carregados(); }
std::vector<Form*> Form::Existentes() { return existentes(); }

Form* Form::Procura(const QString& nome) {
    for (Form* f : carregados())
        if (f->objectName() == nome) return f;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Activation

namespace {
QPointer<Form> g_ultimaJanela;  // last top-level form that became active
QPointer<Form> g_ultimaFilha;   // last child form the MDI area activated

void ativa(Form* f) {
    QPointer<Form> alvo(f);
    // From the event loop: a handler that opens a modal form must not run in
    // the middle of the window system's activation change.
    QMetaObject::invokeMethod(
        f,
        [alvo] {
            if (alvo && alvo->Loaded()) Dispara([&] { alvo->Form_Activate(); });
        },
        Qt::QueuedConnection);
}

class FiltroAtivacao : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::WindowActivate) {
            // The event is passed on to every widget of the window; only the
            // window itself counts. A box or dialog that is not a form leaves
            // the last form as it was, so coming back from it is no change.
            auto* f = qobject_cast<Form*>(o);
            if (f && f->isWindow() && f != g_ultimaJanela) {
                g_ultimaJanela = f;
                ativa(f);
            }
        }
        return false;
    }
};

void filhaAtivada(QMdiSubWindow* w) {
    if (!w) return;  // the area lost the focus with its window
    auto* f = qobject_cast<Form*>(w->widget());
    if (!f || f == g_ultimaFilha) return;
    g_ultimaFilha = f;
    ativa(f);
}
}  // namespace

void Ativacao::Instala() {
    static bool instalado = false;
    if (instalado || !QCoreApplication::instance()) return;
    instalado = true;
    QCoreApplication::instance()->installEventFilter(new FiltroAtivacao(QCoreApplication::instance()));
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QApplication::focusChanged, app, &Form::focoMudou);
}

Form* Form::JanelaPrincipal() {
    QMdiArea* area = areaMdi();
    return area ? qobject_cast<Form*>(area->window()) : nullptr;
}

void Form::DefineAreaMdi(QMdiArea* area) {
    if (areaMdi() == area) return;
    if (areaMdi()) QObject::disconnect(areaMdi(), &QMdiArea::subWindowActivated, nullptr, nullptr);
    areaMdi() = area;
    if (area) QObject::connect(area, &QMdiArea::subWindowActivated, area, &filhaAtivada);
}
