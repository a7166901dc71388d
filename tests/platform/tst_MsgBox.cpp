#include "support/Registro.h"
#include "platform/MsgBox.h"
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
// Runs the action on the box once it is on screen; the box is closed at the
// end whatever happens, so a failing check cannot leave the test waiting.
void naCaixa(std::function<void(QWidget*)> acao) {
    QTimer::singleShot(0, [acao] {
        QWidget* caixa = nullptr;
        for (int i = 0; i < 200 && !caixa; ++i) {
            caixa = QApplication::activeModalWidget();
            if (!caixa) QTest::qWait(10);
        }
        if (!caixa) return;
        QPointer<QWidget> vivo(caixa);
        acao(caixa);
        if (vivo && vivo->isVisible()) {
            if (auto* m = qobject_cast<QMessageBox*>(vivo.data())) m->buttons().first()->click();
            else if (auto* d = qobject_cast<QDialog*>(vivo.data())) d->reject();
        }
    });
}

QStringList textos(QMessageBox* m) {
    QStringList r;
    // In the order the user sees them, left to right.
    auto bs = m->buttons();
    std::sort(bs.begin(), bs.end(), [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
    for (auto* b : bs) r << b->text();
    return r;
}

QAbstractButton* botao(QMessageBox* m, const QString& texto) {
    for (auto* b : m->buttons())
        if (b->text() == texto) return b;
    return nullptr;
}
}  // namespace

class tst_MsgBox : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Roteiro::Remove(); }

    void roteiroRegistraCadaCaixa() {
        Roteiro::Instala();
        Roteiro::Responde(vbYes);
        Roteiro::RespondeTexto("1.234,56");
        const int estilo = vbYesNo + vbQuestion + vbDefaultButton2;
        QCOMPARE(MsgBox("Deseja remover 05 OFERTA ?\rConfirme", estilo, "Atenção ANA"), int(vbYes));
        QCOMPARE(InputBox("Valor:", "Atenção ANA", "0,00"), QString("1.234,56"));
        QCOMPARE(Roteiro::Pendentes(), 0);
        QVERIFY(!Roteiro::HouveInesperada());
        const auto& cs = Roteiro::Caixas();
        QCOMPARE(cs.size(), size_t(2));
        QCOMPARE(cs[0].titulo, QString("Atenção ANA"));
        QCOMPARE(cs[0].prompt, QString("Deseja remover 05 OFERTA ?\rConfirme"));
        QCOMPARE(cs[0].estilo, 292);
        QVERIFY(!cs[0].entrada);
        QVERIFY(cs[1].entrada);
        QCOMPARE(cs[1].prompt, QString("Valor:"));

        // An input box answered OK keeps its default; Cancel gives the empty text.
        Roteiro::Responde(vbOK);
        QCOMPARE(InputBox("Dia:", {}, "05"), QString("05"));
        Roteiro::Responde(vbCancel);
        QCOMPARE(InputBox("Dia:", {}, "05"), QString());
    }

    void caixaInesperadaFicaRegistrada() {
        Roteiro::Instala();
        // No answer left: flagged, and the default button answers.
        QCOMPARE(MsgBox("Deseja Salvar ?", vbYesNo + vbQuestion + vbDefaultButton2, "T"), int(vbNo));
        QVERIFY(Roteiro::HouveInesperada());
        QVERIFY(Roteiro::Caixas().back().inesperada);
        QCOMPARE(InputBox("Nome:"), QString());
        QVERIFY(Roteiro::Caixas().back().inesperada);
        Roteiro::LimpaCaixas();
        QVERIFY(!Roteiro::HouveInesperada());

        // An answer the box cannot give means the script expected another box.
        Roteiro::Responde(vbYes);
        QCOMPARE(MsgBox("Gravado.", vbInformation), int(vbOK));
        QVERIFY(Roteiro::HouveInesperada());
        QCOMPARE(Roteiro::Pendentes(), 1);
        Roteiro::LimpaCaixas();
        QCOMPARE(MsgBox("Deseja Salvar ?", vbYesNo), int(vbYes));
        QVERIFY(!Roteiro::HouveInesperada());
    }

    void caixaNaTela() {
        QVERIFY(!Roteiro::Ativo());
        QString texto, padrao, titulo;
        QStringList nomes;
        QMessageBox::Icon icone = QMessageBox::NoIcon;
        naCaixa([&](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            QVERIFY(m);
            texto = m->text();
            titulo = m->windowTitle();
            icone = m->icon();
            nomes = textos(m);
            padrao = m->defaultButton() ? m->defaultButton()->text() : QString();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        const int r = MsgBox("Linha 1\rLinha 2\r\nLinha 3", vbYesNoCancel + vbQuestion + vbDefaultButton2, "Atenção ANA");
        QCOMPARE(r, int(vbCancel));
        QCOMPARE(texto, QString("Linha 1\nLinha 2\nLinha 3"));
        QCOMPARE(titulo, QString("Atenção ANA"));
        QCOMPARE(icone, QMessageBox::Question);
        QCOMPARE(nomes, (QStringList{"Sim", "Não", "Cancelar"}));
        QCOMPARE(padrao, QString("Não"));

        // A Yes/No question cannot be dismissed with Escape: it needs an answer.
        bool ficou = false;
        naCaixa([&](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            QTest::keyClick(m, Qt::Key_Escape);
            QTest::qWait(20);
            ficou = m->isVisible();
            nomes = textos(m);
            if (auto* b = botao(m, "Sim")) b->click();
        });
        QCOMPARE(MsgBox("Deseja realmente fechar o sistema ?", vbYesNo + vbQuestion), int(vbYes));
        QVERIFY(ficou);
        QCOMPARE(nomes, (QStringList{"Sim", "Não"}));

        naCaixa([&](QWidget* w) {
            auto* m = qobject_cast<QMessageBox*>(w);
            icone = m->icon();
            nomes = textos(m);
            if (auto* b = botao(m, "Repetir")) b->click();
        });
        QCOMPARE(MsgBox("Falhou", vbAbortRetryIgnore + vbCritical), int(vbRetry));
        QCOMPARE(icone, QMessageBox::Critical);
        QCOMPARE(nomes, (QStringList{"Anular", "Repetir", "Ignorar"}));
    }

    void entradaNaTela() {
        QString rotulo;
        naCaixa([&](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            QVERIFY(d);
            rotulo = d->labelText();
            QCOMPARE(d->cancelButtonText(), QString("Cancelar"));
            d->setTextValue("ANA");
            d->accept();
        });
        QCOMPARE(InputBox("Nome\rdo usuário", "Atenção", "X"), QString("ANA"));
        QCOMPARE(rotulo, QString("Nome\ndo usuário"));
        naCaixa([&](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QCOMPARE(InputBox("Nome", "Atenção", "X"), QString());
    }
};

REGISTRA_TESTE(tst_MsgBox)
#include "tst_MsgBox.moc"
