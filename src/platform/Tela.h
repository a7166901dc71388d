#pragma once
// Screen.MousePointer, twips, DoEvents and Sleep.
#include <QElapsedTimer>
#include <functional>

class QWidget;

namespace Screen {
// 11: hourglass; 0: default. Setting 0 removes every override cursor, so a
// pointer never stays stuck after a failure.
void MousePointer(int ponteiro);
int MousePointerAtual();

// The hourglass for as long as the guard lives. However the scope is left
// (its end, a return, an error), the pointer goes back to what it was: the
// default, or the hourglass of a longer run this one is a step of.
class Ampulheta {
public:
    Ampulheta();
    ~Ampulheta();
    Ampulheta(const Ampulheta&) = delete;
    Ampulheta& operator=(const Ampulheta&) = delete;

private:
    int anterior_;
};
}

namespace Twips {
int PorPixelX();  // 1440 per inch at the screen's logical DPI
int PorPixelY();
int ParaPixelX(int tw);
int ParaPixelY(int tw);
int DePixelX(int px);
int DePixelY(int px);
// Places a control by twips, as a form was designed.
void Posiciona(QWidget* w, int esquerda, int topo, int largura, int altura);
}

void DoEvents();
// Every pause a procedure prescribes goes through here, so that tests and
// benchmarks can take the waiting out of a run without changing its steps.
void Sleep(int ms);
// Replaces the pause, e.g. by one that does not wait or that records the
// lengths asked; an empty function gives back the real one.
void DefineSleep(std::function<void(int ms)> pausa);

// Screen work done at most once a frame (16 ms), however fast the rows
// come: Agora is true at its first call and whenever a frame has passed
// since it was last true.
class Por_Quadro {
public:
    bool Agora();

private:
    QElapsedTimer desde_;
};
