#include "MsgBox.h"
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QtGlobal>
#include <map>

namespace {
struct Resposta {
    bool texto = false;
    int valor = 0;
    QString textoResposta;
};

struct Estado {
    bool ativo = false;
    std::deque<Resposta> respostas;
    std::vector<Roteiro::Caixa> caixas;
};

Estado& estado() {
    static Estado e;
    return e;
}

// A box waits for the user: over it the pointer is the usual one, whatever
// the program is busy with around it, and what was shown before comes back
// after it.
class Ponteiro_Normal {
    bool trocou_;

public:
    Ponteiro_Normal() : trocou_(QGuiApplication::overrideCursor() != nullptr) {
        if (trocou_) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~Ponteiro_Normal() {
        if (trocou_ && QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    }
    Ponteiro_Normal(const Ponteiro_Normal&) = delete;
    Ponteiro_Normal& operator=(const Ponteiro_Normal&) = delete;
};

// The buttons of each style, left to right, with their answers.
std::vector<std::pair<QString, int>> botoes(int estilo) {
    switch (estilo & 7) {
    case vbOKCancel: return {{QStringLiteral("OK"), vbOK}, {QStringLiteral("Cancelar"), vbCancel}};
    case vbAbortRetryIgnore:
        return {{QStringLiteral("Anular"), vbAbort}, {QStringLiteral("Repetir"), vbRetry}, {QStringLiteral("Ignorar"), vbIgnore}};
    case vbYesNoCancel:
        return {{QStringLiteral("Sim"), vbYes}, {QStringLiteral("Não"), vbNo}, {QStringLiteral("Cancelar"), vbCancel}};
    case vbYesNo: return {{QStringLiteral("Sim"), vbYes}, {QStringLiteral("Não"), vbNo}};
    case vbRetryCancel: return {{QStringLiteral("Repetir"), vbRetry}, {QStringLiteral("Cancelar"), vbCancel}};
    default: return {{QStringLiteral("OK"), vbOK}};
    }
}

size_t indicePadrao(int estilo, size_t quantos) {
    size_t i = 0;
    if ((estilo & 0xF00) == vbDefaultButton2) i = 1;
    else if ((estilo & 0xF00) == vbDefaultButton3) i = 2;
    return i < quantos ? i : 0;
}

// A single carriage return is a line break on screen, and so is CR LF.
QString quebras(QString t) {
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t;
}

QString tituloDe(const QString& titulo) {
    if (!titulo.isEmpty()) return titulo;
    return QGuiApplication::applicationDisplayName();
}

QWidget* donoDaCaixa() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w;
}

// The window under the box is active again once the box has closed, as on
// the system the forms were made for, whatever the window manager does.
void devolveAtivacao(const QPointer<QWidget>& dono) {
    if (dono && dono->isVisible() && !dono->isActiveWindow()) dono->activateWindow();
}

void registra(const QString& titulo, const QString& prompt, int estilo, bool entrada, bool inesperada) {
    estado().caixas.push_back({titulo, prompt, estilo, entrada, inesperada});
    if (inesperada)
        qWarning("Caixa sem resposta no roteiro: [%s] %s", qPrintable(titulo), qPrintable(prompt));
}
}  // namespace

int MsgBox(const QString& prompt, int estilo, const QString& titulo) {
    const auto bs = botoes(estilo);
    const int padrao = bs[indicePadrao(estilo, bs.size())].second;
    Estado& e = estado();
    if (e.ativo) {
        // The next answer must be one this box can give; otherwise the test
        // expected another box here.
        if (!e.respostas.empty() && !e.respostas.front().texto) {
            const int r = e.respostas.front().valor;
            for (const auto& b : bs) {
                if (b.second == r) {
                    e.respostas.pop_front();
                    registra(titulo, prompt, estilo, false, false);
                    return r;
                }
            }
        }
        // An unexpected box fails the test; answering it with its last
        // button (No, Cancel) ends a retry loop instead of running the
        // failing step again until the test times out.
        registra(titulo, prompt, estilo, false, true);
        return bs.back().second;
    }

    QMessageBox caixa(donoDaCaixa());
    caixa.setWindowTitle(tituloDe(titulo));
    caixa.setTextFormat(Qt::PlainText);
    caixa.setText(quebras(prompt));
    switch (estilo & 0x70) {
    case vbCritical: caixa.setIcon(QMessageBox::Critical); break;
    case vbQuestion: caixa.setIcon(QMessageBox::Question); break;
    case vbExclamation: caixa.setIcon(QMessageBox::Warning); break;
    case vbInformation: caixa.setIcon(QMessageBox::Information); break;
    default: caixa.setIcon(QMessageBox::NoIcon); break;
    }
    // Every button in the same role keeps them in the classic order, and
    // leaves Escape and the close box to Cancel (or to a lone OK) only: a
    // Yes/No question cannot be dismissed without an answer.
    std::map<QAbstractButton*, int> resposta;
    QPushButton* cancelar = nullptr;
    for (size_t i = 0; i < bs.size(); ++i) {
        QPushButton* b = caixa.addButton(bs[i].first, QMessageBox::ActionRole);
        resposta[b] = bs[i].second;
        if (bs[i].second == vbCancel) cancelar = b;
        if (i == indicePadrao(estilo, bs.size())) caixa.setDefaultButton(b);
    }
    if (!cancelar && bs.size() == 1) cancelar = static_cast<QPushButton*>(caixa.buttons().first());
    if (cancelar) caixa.setEscapeButton(cancelar);
    QPointer<QWidget> dono = QApplication::activeWindow();
    {
        const Ponteiro_Normal ponteiro;
        caixa.exec();
    }
    devolveAtivacao(dono);
    auto it = resposta.find(caixa.clickedButton());
    return it != resposta.end() ? it->second : padrao;
}

QString InputBox(const QString& prompt, const QString& titulo, const QString& padrao) {
    Estado& e = estado();
    if (e.ativo) {
        if (!e.respostas.empty()) {
            const Resposta r = e.respostas.front();
            if (r.texto || r.valor == vbOK || r.valor == vbCancel) {
                e.respostas.pop_front();
                registra(titulo, prompt, 0, true, false);
                if (r.texto) return r.textoResposta;
                return r.valor == vbOK ? padrao : QString();
            }
        }
        registra(titulo, prompt, 0, true, true);
        return QString();
    }
    QInputDialog d(donoDaCaixa());
    d.setWindowTitle(tituloDe(titulo));
    d.setLabelText(quebras(prompt));
    d.setTextValue(padrao);
    d.setOkButtonText(QStringLiteral("OK"));
    d.setCancelButtonText(QStringLiteral("Cancelar"));
    QPointer<QWidget> dono = QApplication::activeWindow();
    bool aceito = false;
    {
        const Ponteiro_Normal ponteiro;
        aceito = d.exec() == QDialog::Accepted;
    }
    devolveAtivacao(dono);
    return aceito ? d.textValue() : QString();
}

void Roteiro::Instala() {
    Estado& e = estado();
    e.ativo = true;
    e.respostas.clear();
    e.caixas.clear();
}

void Roteiro::Remove() {
    Estado& e = estado();
    e.ativo = false;
    e.respostas.clear();
}

bool Roteiro::Ativo() { return estado().ativo; }

void Roteiro::Responde(int resposta) { estado().respostas.push_back({false, resposta, {}}); }

void Roteiro::RespondeTexto(const QString& texto) { estado().respostas.push_back({true, 0, texto}); }

const std::vector<Roteiro::Caixa>& Roteiro::Caixas() { return estado().caixas; }

void Roteiro::LimpaCaixas() { estado().caixas.clear(); }

int Roteiro::Pendentes() { return int(estado().respostas.size()); }

bool Roteiro::HouveInesperada() {
    for (const auto& c : estado().caixas)
        if (c.inesperada) return true;
    return false;
}
