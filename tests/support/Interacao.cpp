#include "support/Interacao.h"
#include "common/Usuario.h"
#include "operations/LivroCaixa.h"
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

namespace {
int logins = 0;
QString usuario;
}  // namespace

void Digita(QWidget* w, const QString& texto) {
    w->setFocus(Qt::OtherFocusReason);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        // A character outside the basic plane comes as the one key event a
        // keyboard or an input method sends for it; Qt's code of a plain
        // key is its upper-case ASCII character.
        const QString c = texto.mid(i, texto[i].isHighSurrogate() ? 2 : 1);
        i += c.size() - 1;
        const Qt::Key k = c[0].unicode() < 0x80 ? Qt::Key(c[0].toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, w, k, c, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, k, c, Qt::NoModifier);
    }
}

Principal* Inicia_Principal(const QString& nome) {
    logins = 0;
    usuario = nome;
    Principal::DefineLogin([] {
        ++logins;
        Nome_Usuario = usuario;
        Principal::Atual()->Usu->setText(QStringLiteral("USUÁRIO: ") + usuario);
    });
    Nome_Usuario.clear();
    auto* p = new Principal();
    p->Show();
    // The window system activates the window shortly after it shows.
    if (!QTest::qWaitFor([] { return logins > 0; }, 2000))
        QTest::qFail("a janela principal não foi ativada", __FILE__, __LINE__);
    QCoreApplication::processEvents();
    return p;
}

int Logins() { return logins; }
QString Usuario_Iniciado() { return usuario; }

void Fecha_Tudo() {
    QList<QPointer<Form>> formas;
    for (Form* f : Form::Existentes()) formas << f;
    for (auto& f : formas)  // the main window takes its children along
        if (f && !f->Filho()) delete f.data();
    for (auto& f : formas)
        if (f) delete f.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Principal::DefineLogin(nullptr);
}

QStringList Linhas(const ListBox* l) {
    QStringList r;
    for (int i = 0; i < l->ListCount(); ++i) r << l->List(i);
    return r;
}

void Duplo_Clique(ListBox* l, int linha) {
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(linha)).center());
}

void Troca(QWidget* w, const QString& texto) {
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    Digita(w, texto);
}

void Cola(QWidget* w, const QString& texto, Como_Cola como) {
    w->setFocus(Qt::OtherFocusReason);
    auto* combo = qobject_cast<QComboBox*>(w);
    QLineEdit* caixa = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(w);
    if (!caixa) qFatal("Cola: %s não tem onde digitar", qPrintable(w->objectName()));
    if (como == Como_Cola::Soltando) {
        QMimeData dados;
        dados.setText(texto);
        const QPoint ponto(caixa->width() - 2, caixa->height() / 2);  // after the text
        // As the window system delivers a drop: the drag enters first.
        QDragEnterEvent entrada(ponto, Qt::CopyAction, &dados, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(caixa, &entrada);
        QDropEvent soltura(ponto, Qt::CopyAction, &dados, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(caixa, &soltura);
        return;
    }
    QGuiApplication::clipboard()->setText(texto);
    if (como == Como_Cola::Teclado) {
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    QContextMenuEvent pedido(QContextMenuEvent::Mouse, QPoint(2, 2), caixa->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(caixa, &pedido);
    const QList<QMenu*> menus = caixa->findChildren<QMenu*>();
    QAction* colar = menus.isEmpty() ? nullptr : menus.back()->findChild<QAction*>(QStringLiteral("edit-paste"));
    if (!colar) qFatal("Cola: o menu de contexto não tem Colar");
    colar->trigger();
    menus.back()->close();
    delete menus.back();
}

void Lanca_No_Livro(LivroCaixa* f, OptionButton* tipo, const QString& hist, const QString& dia, const QString& valor) {
    QTest::mouseClick(tipo, Qt::LeftButton);
    if (hist.startsWith('#')) f->CboHistorico->setListIndex(hist.mid(1).toInt());
    else Troca(f->CboHistorico, hist);
    Troca(f->TxtDia, dia);
    Troca(f->TxtValor, valor);
    QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
}

QStringList Colagem_Diferente_Da_Digitacao(QWidget* caixa, const QString& texto) {
    auto* combo = qobject_cast<ComboBox*>(caixa);
    auto* linha = qobject_cast<TextBox*>(caixa);
    const auto le = [&] { return combo ? combo->Text() : linha->Text(); };
    const auto limpa = [&] { combo ? combo->setText_(QString()) : linha->setText_(QString()); };
    limpa();
    Digita(caixa, texto);
    const QString digitado = le();
    QStringList diferencas;
    const std::pair<Como_Cola, const char*> modos[] = {
        {Como_Cola::Teclado, "Ctrl+V"}, {Como_Cola::Menu, "Colar"}, {Como_Cola::Soltando, "soltando"}};
    for (const auto& [como, nome] : modos) {
        limpa();
        Cola(caixa, texto, como);
        if (le() != digitado) diferencas << QString("%1: %2 (digitado: %3)").arg(QLatin1String(nome), le(), digitado);
    }
    limpa();
    return diferencas;
}

const QString Texto_Colado = QString("ab\tç1\u0001-2,3.\u007F4/5:\r\nvila são josé") + QString(60, 'x');

QStringList Colagens_Diferentes_No_Form(Form* f, const QString& texto, int& caixas) {
    QList<QWidget*> lista;
    for (TextBox* t : f->findChildren<TextBox*>())
        if (t->KeyPress && !t->Locked() && t->isVisible()) lista << t;
    for (ComboBox* c : f->findChildren<ComboBox*>())
        if (c->KeyPress && c->lineEdit()) lista << c;
    caixas = int(lista.size());
    QStringList diferencas;
    for (QWidget* w : lista) diferencas << Colagem_Diferente_Da_Digitacao(w, texto);
    return diferencas;
}

void Tecla_Delete(ListBox* l, int linha, std::initializer_list<int> respostas) {
    l->setListIndex(linha);
    for (int r : respostas) Roteiro::Responde(r);
    l->SetFocus();
    QTest::keyClick(l, Qt::Key_Delete);
}
