#include "support/Registro.h"
#include "support/Tabela.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// What the user sees on the next real message box: "text|title|buttons left to
// right|default button|icon". The box is then answered with Escape or, when it
// stays, with the button named.
struct Vista {
    QString resumo;
    bool ficouComEscape = false;
};
void responde(Vista& v, const QString& botao = {}) {
    QTimer::singleShot(0, [&v, botao] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        auto bs = m->buttons();
        std::sort(bs.begin(), bs.end(), [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
        QStringList textos;
        for (auto* b : bs) textos << b->text();
        v.resumo = QStringList{m->text(), m->windowTitle(), textos.join(','),
                               m->defaultButton() ? m->defaultButton()->text() : "", QString::number(m->icon())}.join('|');
        QTest::keyClick(m, Qt::Key_Escape);  // a box that takes Escape hides at once
        if (!(v.ficouComEscape = m->isVisible())) return;
        auto* alvo = bs.first();  // never left waiting, even when the button is missing
        for (auto* b : bs)
            if (b->text() == botao) alvo = b;
        alvo->click();
    });
}
// A box or input box waiting for the user, over a program showing the
// pointer `antes`.
struct Ponteiro {
    bool entrada;
    int antes;
};
}  // namespace

class tst_MsgBox : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Roteiro::Remove(); }

    void roteiro() {
        Roteiro::Instala();
        Roteiro::Responde(vbYes);
        Roteiro::RespondeTexto("1.234,56");
        QCOMPARE(MsgBox("Remover ?\rConfirme", vbYesNo + vbQuestion + vbDefaultButton2, "Atenção ANA"), int(vbYes));
        QCOMPARE(InputBox("Valor:", "Atenção ANA", "0,00"), QString("1.234,56"));
        const auto& c = Roteiro::Caixas().front();
        QCOMPARE(c.titulo, QString("Atenção ANA"));
        QCOMPARE(c.prompt, QString("Remover ?\rConfirme"));
        QCOMPARE(c.estilo, 292);
        QVERIFY(!Roteiro::HouveInesperada());
        // No answer left: flagged, and the default button answers.
        QCOMPARE(MsgBox("Deseja Salvar ?", vbYesNo + vbQuestion + vbDefaultButton2, "T"), int(vbNo));
        QVERIFY(Roteiro::HouveInesperada());
    }

    void caixaNaTela() {
        QVERIFY(!Roteiro::Ativo());
        Vista v, sn;
        responde(v);
        QCOMPARE(MsgBox("Linha 1\rLinha 2\r\nLinha 3", vbYesNoCancel + vbQuestion + vbDefaultButton2, "Atenção ANA"),
                 int(vbCancel));
        QCOMPARE(v.resumo, QString("Linha 1\nLinha 2\nLinha 3|Atenção ANA|Sim,Não,Cancelar|Não|%1").arg(QMessageBox::Question));
        // A Yes/No question cannot be dismissed with Escape: it needs an answer.
        responde(sn, "Sim");
        QCOMPARE(MsgBox("Deseja realmente fechar o sistema ?", vbYesNo + vbQuestion), int(vbYes));
        QVERIFY(sn.ficouComEscape);
    }

    void ponteiro_data() {
        Tabela<Ponteiro>({{"mensagem sob a ampulheta", {false, 11}},
                          {"entrada sob a ampulheta", {true, 11}},
                          {"mensagem sem ampulheta", {false, 0}}});
    }
    // Over a box the pointer is the usual one, whatever the program is busy
    // with; once it closes, the pointer shown before comes back.
    void ponteiro() {
        QFETCH(Ponteiro, caso);
        QVERIFY(!Roteiro::Ativo());
        Screen::MousePointer(caso.antes);
        bool viu = false, ampulheta = true;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            const QCursor* c = QGuiApplication::overrideCursor();
            ampulheta = c && c->shape() == Qt::WaitCursor;
            viu = true;
            QWidget* caixa = QApplication::activeModalWidget();
            if (auto* m = qobject_cast<QMessageBox*>(caixa)) m->buttons().first()->click();
            else if (auto* d = qobject_cast<QInputDialog*>(caixa)) d->reject();
        });
        if (caso.entrada) InputBox("Valor:", "Atenção ANA", "0,00");
        else MsgBox("Não há impressoras instaladas.", vbInformation, "Atenção ANA");
        QVERIFY(viu);
        QVERIFY(!ampulheta);
        QCOMPARE(Screen::MousePointerAtual(), caso.antes);
        Screen::MousePointer(0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void entradaNaTela_data() { Tabela<bool>({{"OK dá o texto", true}, {"Cancelar dá o texto vazio", false}}); }
    void entradaNaTela() {
        QFETCH(bool, caso);
        const bool aceita = caso;
        const QString resposta = aceita ? "ANA" : "";
        QString rotulo, cancela;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            rotulo = d->labelText();
            cancela = d->cancelButtonText();
            d->setTextValue("ANA");
            aceita ? d->accept() : d->reject();
        });
        QCOMPARE(InputBox("Nome\rdo usuário", "Atenção", "X"), resposta);
        QCOMPARE(rotulo, QString("Nome\ndo usuário"));
        QCOMPARE(cancela, QString("Cancelar"));
    }
};

REGISTRA_TESTE(tst_MsgBox)
#include "tst_MsgBox.moc"
