// The parameters form driven from the main menu: the record it loads and
// writes (always one), the title and menus after a save, the refusals,
// the saved flag, the bank boxes, and a change of period with the cash
// book open.
#include "operations/LivroCaixa.h"
#include "registers/Parametr.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {

// The box typed into, what it shows, and the record stored ("": refused).
struct Recusa { QString campo, digitado, fica, gravado; };
struct Travas { QString usuario, banco; bool travado; };

QString registro(Ambiente& amb) {
    return amb.Linhas("SELECT Codigo, Tipo, Mes, Ano, Banco FROM Parametros").join(';');
}
}  // namespace

class tst_Parametr : public QObject {
    Q_OBJECT

    Parametr* abre(Ambiente& amb, const QString& usuario = "MARIA", const QString& banco = {}) {
        amb.Parametros(12, "SETOR NORTE", "VILA NOVA", "C", 8, 2021);
        if (!banco.isEmpty()) amb.Sql("UPDATE Parametros SET Banco = ?1, Agencia = '1', Conta = '2'", {banco});
        return Abre_Pelo_Menu<Parametr>(&Principal::Par_Sis, usuario);
    }
    static void banco(Parametr* f) {
        Troca(f->TxtBanco, "BANCO UM");
        Troca(f->TxtAgencia, "0001");
        Troca(f->TxtConta, "12345-6");
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    // The one record is updated in place, even under another code, and the
    // title and the sector menus follow the save.
    void grava_um_registro_e_titulo() {
        Ambiente amb;
        Parametr* f = abre(amb);
        QCOMPARE(f->TxtCodigo->Text() + f->CboTipo->Text() + f->CboMes->Text() + f->TxtAno->Text(),
                 QString("0012CONGREGAÇÃOAgosto2021"));
        QVERIFY(!Principal::Atual()->Igr_Setor->isEnabled());
        banco(f);
        f->CboTipo->setListIndex(1);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        CONFERE_CAIXA("Operação realizada com Sucesso.", vbInformation);
        QCOMPARE(registro(amb), QString("12|S|8|2021|BANCO UM"));
        QCOMPARE(Principal::Atual()->Caption(),
                 QString(" Zuvevozo Ruverirora 1.0.21 - SETOR NORTE / VILA NOVA / AGOSTO-2021"));
        QVERIFY(Principal::Atual()->Igr_Setor->isEnabled());
        QVERIFY(f->Salvo());

        amb.Sql("INSERT INTO Parametros (Codigo, Tipo, Mes, Ano, Banco) VALUES (99, 'C', 1, 2000, 'OUTRO')");
        Troca(f->TxtCodigo, "13");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        CONFERE_CAIXA("Operação realizada com Sucesso.", vbInformation);
        QCOMPARE(registro(amb), QString("13|S|8|2021|BANCO UM"));
        QVERIFY(f->Unload());  // saved: no question
        QVERIFY(Roteiro::Caixas().empty());
    }

    void recusa_data() {
        Tabela<Recusa>({
            {"código vazio", {"codigo", "", "", ""}}, {"código com letras", {"codigo", "abc", "", ""}},
            {"código negativo", {"codigo", "-12", "-12", ""}},
            {"código longo", {"codigo", "12345", "1234", "1234|C|8|2021|BANCO UM"}},
            {"razão em branco", {"razao", "   ", "   ", ""}}, {"ano negativo", {"ano", "-1", "-1", ""}},
            {"ano zero", {"ano", "0", "0", ""}},
        });
    }
    void recusa() {
        QFETCH(Recusa, caso);
        const auto& [campo, digitado, fica, gravado] = caso;
        Ambiente amb;
        Parametr* f = abre(amb);
        banco(f);
        TextBox* caixa = campo == "codigo" ? f->TxtCodigo : campo == "ano" ? f->TxtAno : f->TxtRazao;
        Troca(caixa, digitado);
        QCOMPARE(caixa->Text(), fica);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        if (!gravado.isEmpty()) {
            CONFERE_CAIXA("Operação realizada com Sucesso.", vbInformation);
            QCOMPARE(registro(amb), gravado);
            return;
        }
        CONFERE_CAIXA("Preencha todos os campos corretamente.", vbInformation);
        QCOMPARE(registro(amb), QString("12|C|8|2021|NULL"));  // the bank was never stored
        QCOMPARE(caixa->Text(), fica);
        // A refused save leaves the form unsaved: closing asks.
        Roteiro::Responde(vbNo);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Deseja Salvar Parâmetros ?", vbYesNo + vbQuestion);
    }

    void bancos_travados_data() {
        Tabela<Travas>({{"vazio, qualquer usuário", {"MARIA", "", false}},
                        {"preenchido, usuário comum", {"MARIA", "BANCO X", true}},
                        {"preenchido, administrador", {"DEDURE", "BANCO X", false}}});
    }
    void bancos_travados() {
        QFETCH(Travas, caso);
        Ambiente amb;
        Parametr* f = abre(amb, caso.usuario, caso.banco);
        QCOMPARE(f->TxtBanco->Locked(), caso.travado);
        QCOMPARE(f->TxtConta->Locked(), caso.travado);
    }

    // An entry half typed in the cash book is saved in the month it was
    // typed in before the month moves; when it cannot be saved, the month
    // does not move, on the button as on closing.
    void mudanca_de_periodo_com_livro_aberto() {
        Ambiente amb;
        Parametr* f = abre(amb);
        banco(f);
        Principal::Atual()->Liv_Cx->trigger();
        auto* livro = qobject_cast<LivroCaixa*>(Form::Procura("LivroCaixa"));
        QVERIFY(livro);
        auto digitaOferta = [&](const QString& historico) {
            Troca(livro->CboHistorico, historico);
            Troca(livro->TxtDia, "3");
            Troca(livro->TxtValor, "10");
        };
        digitaOferta("OFERTA UM");
        f->CboMes->setListIndex(8);

        amb.Sql("CREATE TRIGGER falha BEFORE INSERT ON LivroCaixa BEGIN SELECT RAISE(ABORT, 'cheio'); END");
        for (int r : {vbYes, vbNo, vbOK}) Roteiro::Responde(r);  // save? / retry? / notice
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        CONFERE_CAIXA("Feche as janelas abertas antes de mudar o período.", vbInformation);
        QCOMPARE(registro(amb), QString("12|C|8|2021|NULL"));
        QCOMPARE(f->CboMes->Text(), QString("Setembro"));
        QVERIFY(Form::Procura("LivroCaixa"));
        for (int r : {vbYes, vbYes, vbNo, vbOK}) Roteiro::Responde(r);
        QVERIFY(!f->Unload());
        CONFERE_CAIXA("Feche as janelas abertas antes de mudar o período.", vbInformation);
        QCOMPARE(f->CboMes->Text(), QString("Setembro"));

        amb.Sql("DROP TRIGGER falha");
        for (int r : {vbYes, vbOK}) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        CONFERE_CAIXA("Operação realizada com Sucesso.", vbInformation);
        QCOMPARE(amb.Le("SELECT Historico || '|' || Mes FROM LivroCaixa")->Fields(0).toString(), QString("OFERTA UM|8"));
        QCOMPARE(registro(amb), QString("12|C|9|2021|BANCO UM"));
        QTRY_VERIFY(!Form::Procura("LivroCaixa"));
        QCOMPARE(Principal::Atual()->Caption(),
                 QString(" Zuvevozo Ruverirora 1.0.21 - SETOR NORTE / VILA NOVA / SETEMBRO-2021"));
    }
};

REGISTRA_TESTE(tst_Parametr)
#include "tst_Parametr.moc"
