// The drive, folder and file lists over a folder of the test's own set as
// the user's home: what each offers and in what order, hidden entries left
// out, a folder opened by double-click or Enter, Change fired once per
// change, patterns matched without regard to case, and the errors of a
// folder or drive that is not there.
#include "platform/ListasArquivos.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QtTest>

namespace {
void Cria(const QString& arquivo) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QStringList Linhas(const ListBox* l) {
    QStringList r;
    for (int i = 0; i < l->ListCount(); ++i) r << l->List(i);
    return r;
}
}  // namespace

class tst_ListasArquivos : public QObject {
    Q_OBJECT

    QTemporaryDir casa_;
    QString raiz_;

private slots:
    void initTestCase() {
        raiz_ = casa_.filePath("maria");
        for (const char* p : {"maria/Documentos", "maria/Área de Trabalho", "maria/.config", "maria/zeta"})
            QVERIFY(QDir().mkpath(casa_.filePath(p)));
        for (const char* a : {"maria/Termo 2021.xlsx", "maria/antigo.XLS", "maria/notas.txt", "maria/.~lock.Termo 2021.xlsx#",
                              "maria/Documentos/Termo.xlsx"})
            Cria(casa_.filePath(a));
        Pastas::DefinePessoal(raiz_);
    }
    void cleanupTestCase() { Pastas::DefinePessoal({}); }

    void unidades() {
        DriveListBox d;
        QCOMPARE(d.ListCount(), 2);
        QCOMPARE(d.List(0), QString("/"));
        QCOMPARE(d.List(1), raiz_);
        QCOMPARE(d.Drive(), raiz_);
        int mudancas = 0;
        d.Change = [&] { ++mudancas; };
        d.setDrive("/");
        QCOMPARE(d.Drive(), QString("/"));
        d.setDrive("/");
        QCOMPARE(mudancas, 1);
        // The user's own choice.
        d.showPopup();
        QTest::keyClick(d.view(), Qt::Key_Down);
        QTest::keyClick(d.view(), Qt::Key_Return);
        QCOMPARE(d.Drive(), raiz_);
        QCOMPARE(mudancas, 2);
        QCOMPARE(ErroDe([&] { d.setDrive("/mnt/cdrom"); }), 68L);
        QCOMPARE(d.Drive(), raiz_);
    }

    // The path from the root down, then the subfolders in Portuguese order
    // without the hidden one; a double-click opens a subfolder, Enter an
    // ancestor.
    void pastas() {
        DirListBox d;
        QCOMPARE(d.Path(), raiz_);
        const int profundidade = int(raiz_.count('/'));
        QCOMPARE(d.ListCount(), profundidade + 1 + 3);
        QCOMPARE(d.List(0), QString("/"));
        QCOMPARE(d.List(profundidade), QString(2 * profundidade, ' ') + "maria");
        const QString recuo(2 * (profundidade + 1), ' ');
        QCOMPARE(Linhas(&d).mid(profundidade + 1), (QStringList{recuo + "Área de Trabalho", recuo + "Documentos", recuo + "zeta"}));
        QCOMPARE(d.Pasta(profundidade + 2), raiz_ + "/Documentos");

        QStringList mudancas;
        d.Change = [&] { mudancas << d.Path(); };
        d.show();
        const int linha = profundidade + 2;
        d.scrollToItem(d.item(linha));
        QTest::mouseDClick(d.viewport(), Qt::LeftButton, {}, d.visualItemRect(d.item(linha)).center());
        QCOMPARE(mudancas, QStringList{raiz_ + "/Documentos"});
        QCOMPARE(d.List(d.ListCount() - 1), QString(2 * (profundidade + 1), ' ') + "Documentos");

        d.setCurrentRow(0);
        QTest::keyClick(&d, Qt::Key_Return);
        QCOMPARE(d.Path(), QString("/"));
        QCOMPARE(mudancas.size(), 2);
        d.setPath("/");
        QCOMPARE(mudancas.size(), 2);  // no change, no event
        d.setPath(raiz_ + "/../maria/./");
        QCOMPARE(d.Path(), raiz_);
        QCOMPARE(ErroDe([&] { d.setPath(raiz_ + "/sumiu"); }), 76L);
        QCOMPARE(ErroDe([&] { d.setPath(raiz_ + "/notas.txt"); }), 76L);
        QCOMPARE(d.Path(), raiz_);
    }

    void arquivos() {
        FileListBox f;
        QCOMPARE(Linhas(&f), (QStringList{"antigo.XLS", "notas.txt", "Termo 2021.xlsx"}));
        f.setPattern("*.xlsx;*.xls");
        QCOMPARE(Linhas(&f), (QStringList{"antigo.XLS", "Termo 2021.xlsx"}));
        QCOMPARE(f.FileName(), QString());
        int cliques = 0;
        f.Click = [&] { ++cliques; };
        f.show();
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, f.visualItemRect(f.item(1)).center());
        QCOMPARE(f.FileName(), QString("Termo 2021.xlsx"));
        QCOMPARE(cliques, 1);
        f.setFileName("notas.txt");
        QCOMPARE(f.FileName(), QString());
        f.setPath(raiz_ + "/Documentos");
        QCOMPARE(Linhas(&f), QStringList{"Termo.xlsx"});
        f.setPattern("*.*");
        QCOMPARE(f.ListCount(), 1);
        QCOMPARE(ErroDe([&] { f.setPath(raiz_ + "/sumiu"); }), 76L);
        QCOMPARE(f.Path(), raiz_ + "/Documentos");
    }
};

REGISTRA_TESTE(tst_ListasArquivos)
#include "tst_ListasArquivos.moc"
