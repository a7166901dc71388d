#include "Tela.h"
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <cmath>

void Screen::MousePointer(int ponteiro) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (ponteiro == 11) {
        // One hourglass at most: setting it twice must not need two resets.
        const QCursor* atual = QGuiApplication::overrideCursor();
        if (!atual) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else if (atual->shape() != Qt::WaitCursor) QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        return;
    }
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

int Screen::MousePointerAtual() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    const QCursor* atual = QGuiApplication::overrideCursor();
    return atual && atual->shape() == Qt::WaitCursor ? 11 : 0;
}

Screen::Ampulheta::Ampulheta() : anterior_(MousePointerAtual()) { MousePointer(11); }
Screen::Ampulheta::~Ampulheta() { MousePointer(anterior_); }

namespace {
constexpr double kTwipsPorPolegada = 1440.0;

double dpiX() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchX();
    return 96.0;
}
double dpiY() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchY();
    return 96.0;
}
}  // namespace

int Twips::PorPixelX() { return int(std::lround(kTwipsPorPolegada / dpiX())); }
int Twips::PorPixelY() { return int(std::lround(kTwipsPorPolegada / dpiY())); }
int Twips::ParaPixelX(int tw) { return int(std::lround(tw * dpiX() / kTwipsPorPolegada)); }
int Twips::ParaPixelY(int tw) { return int(std::lround(tw * dpiY() / kTwipsPorPolegada)); }
int Twips::DePixelX(int px) { return int(std::lround(px * kTwipsPorPolegada / dpiX())); }
int Twips::DePixelY(int px) { return int(std::lround(px * kTwipsPorPolegada / dpiY())); }

void Twips::Posiciona(QWidget* w, int esquerda, int topo, int largura, int altura) {
    w->setGeometry(ParaPixelX(esquerda), ParaPixelY(topo), ParaPixelX(largura), ParaPixelY(altura));
}

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

namespace {
std::function<void(int)> g_pausa;
}

void Sleep(int ms) {
    if (g_pausa) {
        g_pausa(ms);
        return;
    }
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void DefineSleep(std::function<void(int ms)> pausa) { g_pausa = std::move(pausa); }

bool Por_Quadro::Agora() {
    if (desde_.isValid() && desde_.elapsed() < 16) return false;
    desde_.start();
    return true;
}
