// The printed forms' pictures the build draws, under the two closing
// reports and the receipt printed with the widest texts their places take:
// every word of the headers, bodies, page carry-overs, footers and
// receipt blanks lands on blank paper, never on a rule or a caption of the
// picture.
#include "common/Parametros.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "printing/ImpDeptos.h"
#include "printing/ImpLivroCx.h"
#include "printing/Recibo.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include <QFile>
#include <QImage>
#include <QtTest>

namespace {
// Where the frame paints the picture, and its resolution.
constexpr double Origem = 5, PontosPorMm = 300 / 25.4;
// Paper, or a shade this light, is blank; anything darker is drawn.
constexpr int Branco = 235;

// The words that stand on something drawn, each with where.
QStringList Sobre_O_Desenho(const Documento& d, const QImage& figura) {
    QStringList r;
    for (const Palavra& w : d.palavras) {
        const int x0 = qFloor((w.x - Origem) * PontosPorMm), x1 = qCeil((w.direita - Origem) * PontosPorMm);
        const int y0 = qFloor((w.y - Origem) * PontosPorMm), y1 = qCeil((w.baixo - Origem) * PontosPorMm);
        bool tocou = false;
        for (int y = std::max(y0, 0); y <= std::min(y1, figura.height() - 1) && !tocou; ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, figura.width() - 1) && !tocou; ++x)
                if (qGray(figura.pixel(x, y)) < Branco) {
                    tocou = true;
                    r << QString("p.%1 \"%2\" [%3-%4 x %5-%6] em (%7, %8)")
                             .arg(w.pagina).arg(w.texto).arg(w.x, 0, 'f', 1).arg(w.direita, 0, 'f', 1)
                             .arg(w.y, 0, 'f', 1).arg(w.baixo, 0, 'f', 1)
                             .arg(x / PontosPorMm + Origem, 0, 'f', 1).arg(y / PontosPorMm + Origem, 0, 'f', 1);
                }
    }
    return r;
}

const QString Papel = "Prepare a Impressora com papel A4. Tudo OK ?";
// 48 characters, every one printed: the history's whole width.
const QString HistoricoLongo = "OFERTA ESPECIAL PARA A CONSTRUCAO DO NOVO TEMPLOS";
}  // namespace

class tst_Impresso : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;
    QImage figura_;
    QImage recibo_;

    // A church whose names fill their places: the sector name up to where
    // the church's code begins, the church's up to the paper's edge. The
    // longest month name.
    void parametros() {
        amb_->Parametros(1234, "SETOR REGIONAL DAS AGUAS CLARAS DO NORTE", "JARDIM DAS FLORES DO SUL", "S", 2, 2021);
    }

private slots:
    void initTestCase() {
        QVERIFY(figura_.load(TESOURARIA_IMPRESSO));
        QCOMPARE(figura_.width(), qRound(200 * PontosPorMm));
        QCOMPARE(figura_.height(), qRound(280 * PontosPorMm));
        QVERIFY(recibo_.load(TESOURARIA_RECIBO));
        QCOMPARE(recibo_.width(), qRound(200 * PontosPorMm));
        QCOMPARE(recibo_.height(), qRound(143 * PontosPorMm));
        QVERIFY(recibo_.isGrayscale());
        QCOMPARE(qRound(recibo_.dotsPerMeterX() * 0.0254), 300);
    }
    void init() {
        amb_ = std::make_unique<Ambiente>();
        QVERIFY(QFile::copy(TESOURARIA_IMPRESSO, amb_->Pasta() + "/impresso.kwe"));
        QVERIFY(QFile::copy(TESOURARIA_RECIBO, amb_->Pasta() + "/recibo.kwe"));
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        Relogio::Define(QDateTime(QDate(2021, 3, 28), QTime(10, 0)));
    }
    void cleanup() {
        Fecha_Tudo();
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    // The drawing tool, run by hand on a machine without any screen, draws
    // the same picture the build drew.
    void ferramentaSemTela() {
        QTemporaryDir dir;
        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ambiente.remove(v);
        p.setProcessEnvironment(ambiente);
        p.start(QFileInfo(TESOURARIA_IMPRESSO).absolutePath() + "/assets/desenha_impresso",
                {"impresso", dir.filePath("impresso.png")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QImage desenhada;
        QVERIFY(desenhada.load(dir.filePath("impresso.png")));
        QCOMPARE(desenhada, figura_);
    }

    // Every kind of row with the widest history and amounts, the sector's
    // congregations, two pages (a carry-over line), totals of 12
    // characters and the closing block with the remittance base.
    void livroCaixa() {
        parametros();
        int codigo = 0;
        auto lanca = [&](const QString& tipo, int dia, const QString& historico, double valor) {
            amb_->Sql("INSERT INTO LivroCaixa VALUES (?1, 1234, 2021, 2, ?2, ?3, ?4, ?5)", {++codigo, dia, tipo, historico, valor});
        };
        for (int i = 0; i < 9; ++i) lanca("O", 10 + i, HistoricoLongo, 999999.99);
        for (int i = 0; i < 6; ++i) lanca("D", 20 + i, "MARIA DAS GRACAS FERREIRA DO NASCIMENTO RI:00012345 MB", 8888.88);
        for (int i = 0; i < 6; ++i) lanca("S", 28, "MANUTENCAO DO TELHADO DO TEMPLO PRINCIPAL CT:4401", 999999.99);
        for (int i = 0; i < 3; ++i) {
            amb_->Sql("INSERT INTO Igrejas VALUES (1234, ?1, ?2, 1)", {30 + i, "CONGREGACAO DO JARDIM DAS FLOR" + QString::number(i)});
            amb_->Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas, Saidas) VALUES (1234, ?1, 2021, 2, ?2, ?3)",
                      {30 + i, 99999.99, 88888.88});
        }
        amb_->Sql("INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (1234, 2021, 2, 10, 999999.99)");
        amb_->Sql("INSERT INTO Transmissao VALUES (2, 2021, '01/03/2021 10:00:00', 'MARIA')");
        Principal* p = Inicia_Principal("MARIA");
        p->Fec_Livro->trigger();
        auto* f = qobject_cast<ImpLivroCx*>(Form::Procura("ImpLivroCx"));
        QVERIFY(f);
        Roteiro::LimpaCaixas();
        Troca(f->TxtSalAnt, "8888888,88");
        f->TxtLeft->setFocus(Qt::TabFocusReason);
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
        const Documento d = Novo_Pdf(0);
        QCOMPARE(d.paginas, 2);
        // The places the check relies on were printed, widest first.
        QVERIFY(d.Acha(2, "TRANSPORTE").pagina == 2);
        QVERIFY(!d.Linha(1, 220).isEmpty() && !d.Linha(2, 250).isEmpty());
        QVERIFY(d.Acha(2, "BASE").pagina == 2);
        QVERIFY(d.Acha(1, "FEVEREIRO", 32).pagina == 1);
        const QStringList sobre = Sobre_O_Desenho(d, figura_);
        QVERIFY2(sobre.isEmpty(), qPrintable(sobre.join("\n")));
    }

    // A department's name that fills its 60 centred characters, the
    // three-digit code, two pages, the running balance in every footer.
    void departamento() {
        parametros();
        amb_->Sql("INSERT INTO Departamentos VALUES (7, 1234, ?1)", {"DEPARTAMENTO DE EVANGELIZACAO E MISSOES DO SETOR NORTE"});
        for (int i = 0; i < 32; ++i)
            amb_->Sql("INSERT INTO LancDeptos VALUES (?1, 1234, 2021, 2, 7, ?2, ?3, ?4, ?5)",
                      {i + 1, 1 + i % 28, i % 3 ? "E" : "S", HistoricoLongo, 999999.99});
        Principal* p = Inicia_Principal("MARIA");
        p->Fec_Dep->trigger();
        auto* f = qobject_cast<ImpDeptos*>(Form::Procura("ImpDeptos"));
        QVERIFY(f);
        Roteiro::LimpaCaixas();
        f->CboDepto->setListIndex(0);
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
        const Documento d = Novo_Pdf(0);
        QCOMPARE(d.paginas, 2);
        QVERIFY(d.Acha(1, "DEPARTAMENTO:DEPARTAMENTO", 18).pagina == 1);
        QVERIFY(d.Acha(1, "2021", 32).pagina == 1);
        QVERIFY(d.Acha(2, "TRANSPORTE").pagina == 2);
        const QStringList sobre = Sobre_O_Desenho(d, figura_);
        QVERIFY2(sobre.isEmpty(), qPrintable(sobre.join("\n")));
    }

    // A receipt with every blank at its widest: a name up to the CPF, a
    // church's text to the picture's edge, descriptions of 46 characters,
    // values and a total wider than their cells, the longest month.
    void recibo() {
        parametros();
        const QString descricao = "MANUTENCAO DO TELHADO E DA CALHA DO TEMPLO SEDE";  // 47: cut to 46
        amb_->Sql("INSERT INTO Recibos VALUES (999999, 1234, ?1, '123.456.789-09', ?2, ?3, ?3, ?3, ?3, "
                  "99999999.99, 99999999.99, 99999999.99, 99999999.99, 2021, 2, 28)",
                  {QString("JOSE CARLOS DOS SANTOS FERREIRA DA SILVA ").left(42), QString(100, 'W'), descricao.left(46)});
        Principal* p = Inicia_Principal("MARIA");
        p->Rec_Diz->trigger();
        auto* f = qobject_cast<Recibo*>(Form::Procura("Recibo"));
        QVERIFY(f);
        Roteiro::LimpaCaixas();
        f->CboRecibo->setListIndex(0);
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
        const Documento d = Novo_Pdf(0);
        QCOMPARE(d.paginas, 1);
        QVERIFY(d.Acha(1, "399.999.999,96", 44.5).pagina == 1);
        QVERIFY(d.Acha(1, "FEVEREIRO", 117.5).pagina == 1);
        const QStringList sobre = Sobre_O_Desenho(d, recibo_);
        QVERIFY2(sobre.isEmpty(), qPrintable(sobre.join("\n")));
    }
};

REGISTRA_TESTE(tst_Impresso)
#include "tst_Impresso.moc"
