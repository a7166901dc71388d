// The printer object and the printing primitive, checked from the PDF file
// of each job with poppler's own readers.
#include "common/Formularios.h"
#include "platform/Printer.h"
#include "support/Ambiente.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Esperado { QString texto; int pagina; double x, y, toleranciaY; };

// The words of a printout by their text (the last of equals).
QMap<QString, Palavra> Palavras(const QString& pdf) {
    QMap<QString, Palavra> r;
    for (const Palavra& p : Le_Pdf(pdf).palavras) r.insert(p.texto, p);
    return r;
}
}  // namespace

class tst_Impressao : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;
    QStringList pdfs_;             // the two documents printed at the start
    QMap<QString, Palavra> ps_;    // the words of the first one

    static void iniciaImpressora(const QString& pasta) {
        Printer::DefinePastaPdf(pasta);
        Printer& p = Impressora();
        p.setPaperSize(9);
        p.setOrientation(1);
        p.setScaleMode(6);
        p.setFontName("Courier New");
        p.setFontBold(false);
        p.setFontSize(12);
    }

private slots:
    void initTestCase() {
        iniciaImpressora(pasta_.path() + "/documentos");
        Printer& p = Impressora();
        Imprime_Texto(20, 30, "ALFA");
        QCOMPARE(p.CurrentX(), 0.0);  // the next line starts at the left edge
        p.Print("SEGUINTE");
        Imprime_Texto(150.5, 250, "OMEGA", 8);
        p.setScaleTop(-10);
        p.setScaleLeft(-5);
        Imprime_Texto(20, 30, "DESLOCADO");
        p.NewPage();
        p.setFontBold(true);
        Imprime_Texto(100, 100, "PAGINA2", 12);
        p.EndDoc();
        p.EndDoc();  // nothing left to send: no second file
        QCOMPARE(Printer::ArquivosPdf().size(), 1);
        // Each EndDoc is one document, with its own orientation.
        p.setOrientation(2);
        Imprime_Texto(10, 10, "SEGUNDO");
        p.EndDoc();
        pdfs_ = Printer::ArquivosPdf();
        QCOMPARE(pdfs_.size(), 2);
        ps_ = Palavras(pdfs_[0]);
    }
    void init() { iniciaImpressora(pasta_.path() + '/' + QTest::currentTestFunction()); }
    void cleanup() { Printer::DefinePastaPdf({}); }

    void documentos() {
        QCOMPARE(ps_.keys(), QStringList({"ALFA", "DESLOCADO", "OMEGA", "PAGINA2", "SEGUINTE"}));
        const QString info = Executa("pdfinfo", {pdfs_[0]});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts \\(A4\\)")), qPrintable(info));
        QCOMPARE(Palavras(pdfs_[1]).keys(), QStringList({"SEGUNDO"}));
        QVERIFY(Executa("pdfinfo", {pdfs_[1]}).contains("842 x 595 pts"));
    }

    void posicao_data() {
        Tabela<Esperado>({
            {"texto em milímetros", {"ALFA", 1, 20, 30, 0.5}},
            // Print goes on to the next line: below ALFA by one line of 12 points.
            {"Print na linha seguinte", {"SEGUINTE", 1, 0, ps_.value("ALFA").y + 5, 1}},
            {"fração de milímetro, fonte menor", {"OMEGA", 1, 150.5, 250, 0.5}},
            {"escala deslocada", {"DESLOCADO", 1, 25, 40, 0.5}}, {"segunda página", {"PAGINA2", 2, 105, 110, 0.5}},
        });
    }
    void posicao() {
        QFETCH(Esperado, caso);
        const Palavra w = ps_.value(caso.texto);
        QCOMPARE(w.pagina, caso.pagina);
        QVERIFY2(qAbs(w.x - caso.x) <= 0.5, qPrintable(QString("x = %1, esperado %2").arg(w.x).arg(caso.x)));
        QVERIFY2(qAbs(w.y - caso.y) <= caso.toleranciaY, qPrintable(QString("y = %1, esperado %2").arg(w.y).arg(caso.y)));
    }

    void falhas() {
        Printer& p = Impressora();
        QCOMPARE(ErroDe([&] { p.setPaperSize(99); }), 380L);
        QCOMPARE(ErroDe([&] { p.PaintPicture(QImage(), 0, 0, 10, 10); }), 481L);
    }
};

REGISTRA_TESTE(tst_Impressao)
#include "tst_Impressao.moc"
