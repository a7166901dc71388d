// USA_BANCO_CENTRAL
// The About box opened from the menu, its novelty list, and the update
// against the central test server and an HTTPS server of the test's own, whose self-signed
// certificate is made here and trusted through the download's seam.
#include "common/Central.h"
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Baixador.h"
#include "platform/Rede.h"
#include "platform/Shell.h"
#include "shell/ApoioShell.h"
#include "shell/Sobre.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QCryptographicHash>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

namespace {
// One answer per connection: the whole file, a 404, or half of the file
// before the connection closes.
struct ServidorHttps : QTcpServer {
    enum Modo { Inteiro, Falta, Cortado } modo = Inteiro;
    QByteArray corpo;
    int pedidos = 0;
    QSslCertificate certificado;
    QSslKey chave;

    void incomingConnection(qintptr descritor) override {
        auto* s = new QSslSocket(this);
        s->setSocketDescriptor(descritor);
        s->setLocalCertificate(certificado);
        s->setPrivateKey(chave);
        connect(s, &QSslSocket::readyRead, s, [this, s] {
            s->setProperty("p", s->property("p").toByteArray() + s->readAll());
            if (!s->property("p").toByteArray().contains("\r\n\r\n")) return;
            ++pedidos;
            if (modo == Falta)
                s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nNot Found");
            else
                s->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " + QByteArray::number(corpo.size()) +
                         "\r\n\r\n" + (modo == Cortado ? corpo.left(corpo.size() / 2) : corpo));
            s->disconnectFromHost();
        });
        connect(s, &QSslSocket::disconnected, s, &QObject::deleteLater);
        s->startServerEncryption();
    }
};

using Botao = CommandButton* Sobre::*;
struct SemDownload { QStringList central; QString endereco, prompt; int estilo; };
struct Falha { bool confia; ServidorHttps::Modo modo; int pedidos; };
struct Versoes { QString propria, central; bool emDia; };

const QByteArray Atualizador =
    "#!/bin/sh\necho atualizado > \"$(dirname \"$0\")/marca.txt\"\n" + QByteArray(4000, '#') + "\n";
}  // namespace

class tst_Sobre : public QObject {
    Q_OBJECT
    QTemporaryDir certs;
    QList<QSslCertificate> autoridade;
    ServidorHttps servidor;

    static QStringList arquivos(const Ambiente& amb) {
        return QDir(amb.Pasta()).entryList({"Atualiza*", "marca.txt"}, QDir::Files);
    }
    // The About box opened from the menu, the central version being `central`.
    static Sobre* abre(const QStringList& central) {
        if (!Versao_Central(central)) QTest::qFail("servidor central inacessível", __FILE__, __LINE__);
        Rede::DefineConectado([] { return true; });
        Inicia_Principal("ANA")->Sobre_Sis->trigger();
        return qobject_cast<Sobre*>(Form::Procura("Sobre"));
    }

private slots:
    void initTestCase() {
        QProcess p;
        p.setWorkingDirectory(certs.path());
        p.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "k.pem", "-out", "c.pem", "-days", "2",
                            "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        autoridade = QSslCertificate::fromPath(certs.filePath("c.pem"));
        servidor.certificado = autoridade.value(0);
        servidor.chave = QSslKey(Bytes(certs.filePath("k.pem")), QSsl::Rsa);
        QCOMPARE(autoridade.size(), 1);
        QVERIFY(!servidor.chave.isNull());
        servidor.corpo = Atualizador;
        QVERIFY(servidor.listen(QHostAddress(TESOURARIA_ATUALIZACAO_HOST), TESOURARIA_ATUALIZACAO_PORTA));
    }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineConectado(nullptr);
        Baixador::ConfiaAutoridades({});
        servidor.pedidos = 0;
        servidor.modo = ServidorHttps::Inteiro;
        Param[11] = TESOURARIA_SERVIDOR_CENTRAL;
    }

    void janelaELinks() {
        Ambiente amb;
        amb.Parametros(7, "SETOR", "IGREJA", "S", 3, 2024, "IGREJA DO BAIRRO ALTO");
        QStringList abertos;
        Shell::DefineAcao([&](const QString& alvo) {
            abertos << alvo;
            return true;
        });
        Sobre* s = abre({"1.0.30"});
        QVERIFY(s);
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
        QCOMPARE(s->LblRazao->Caption(), QString("IGREJA DO BAIRRO ALTO"));
        QCOMPARE(s->CmdAtualize->Caption(), QString("Atualize o Marlovinter para a versão 1.0.30"));  // the central version
        // The 67 novelty lines, each exactly as published (a digest of them all).
        QCOMPARE(QCryptographicHash::hash(Linhas(s->LstSobre).join('\n').toUtf8(), QCryptographicHash::Sha1).toHex(),
                 QByteArray("0b0f55509fbae5e8f3b200c48e7c22e2c0791177"));
        QTest::mouseClick(s->CmdAcesse, Qt::LeftButton);
        QTest::mouseClick(s->CmdAssista, Qt::LeftButton);
        QCOMPARE(abertos, QStringList({TESOURARIA_PAGINA_AUTOR, TESOURARIA_PAGINA_VIDEO}));

        // The list shows whole, its close button beside it, not over its lines.
        const QRect cliente = s->LstSobre->parentWidget()->rect();
        QVERIFY(!cliente.intersects(s->LstSobre->geometry()));
        QTest::mouseClick(s->CmdVeja, Qt::LeftButton);
        QTRY_VERIFY(s->CmdFechar->isVisible());
        QVERIFY(!s->CmdFechar->geometry().intersects(s->LstSobre->geometry()));
        QVERIFY(cliente.contains(s->LstSobre->geometry()));
        QVERIFY(cliente.contains(s->CmdFechar->geometry()));
        QTest::mouseClick(s->CmdFechar, Qt::LeftButton);
        QVERIFY(s->CmdFechar->isHidden());
        QVERIFY(!cliente.intersects(s->LstSobre->geometry()));
        QVERIFY(Roteiro::Caixas().empty());
    }

    void semInternet_data() {
        Tabela<Botao>({{"CmdAcesse", &Sobre::CmdAcesse}, {"CmdAssista", &Sobre::CmdAssista},
                       {"CmdAtualize", &Sobre::CmdAtualize}});
    }
    void semInternet() {
        QFETCH(Botao, caso);
        const Botao botao = caso;
        Ambiente amb;
        Sobre* s = abre({"1.0.30"});
        QVERIFY(s);
        Rede::DefineConectado([] { return false; });
        Roteiro::Responde(vbOK);
        QTest::mouseClick(s->*botao, Qt::LeftButton);
        CONFERE_CAIXA("Não há Conexão com a Internet!\rExamine e tente novamente.", vbExclamation);
        QCOMPARE(servidor.pedidos, 0);
    }

    void semAtualizacao_data() {
        // No download when the central version is equal, older or none, nor
        // when it cannot be read (nothing listens at 127.0.0.2).
        const QString atual = "Sua versão já está atualizada.";
        Tabela<SemDownload>({
            {"versão igual", {{App::Versao()}, TESOURARIA_SERVIDOR_CENTRAL, atual, vbInformation}},
            {"versão mais velha", {{"1.0.20"}, TESOURARIA_SERVIDOR_CENTRAL, atual, vbInformation}},
            {"versão mais velha, de menos algarismos", {{"1.0.3"}, TESOURARIA_SERVIDOR_CENTRAL, atual, vbInformation}},
            {"nenhuma versão", {{}, TESOURARIA_SERVIDOR_CENTRAL, atual, vbInformation}},
            {"central inacessível",
             {{"1.0.99"}, "127.0.0.2", "Sua Conexão não alcança a base Vendral!\rExamine e tente novamente.", vbExclamation}},
        });
    }
    void semAtualizacao() {
        QFETCH(SemDownload, caso);
        Ambiente amb;
        Sobre* s = abre(caso.central);
        QVERIFY(s);
        Param[11] = caso.endereco;
        Roteiro::Responde(vbOK);
        QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
        CONFERE_CAIXA(caso.prompt, caso.estilo);
        QCOMPARE(servidor.pedidos, 0);
        QCOMPARE(arquivos(amb), QStringList());
    }

    void versoes_data() {
        Tabela<Versoes>({
            {"iguais", {"1.0.21", "1.0.21", true}},
            {"central de menos algarismos, mais velha", {"1.0.21", "1.0.3", true}},
            {"própria de menos algarismos, mais velha", {"1.0.3", "1.0.21", false}},
            {"central de mais algarismos, mais nova", {"1.0.21", "1.0.100", false}},
            {"central com uma parte a mais", {"1.0.21", "1.0.21.1", false}},
            {"central com uma parte a menos", {"1.0.21", "1.0", true}},
            {"zeros à esquerda", {"1.0.21", "1.0.021", true}},
            {"partes de nove algarismos", {"1.0.999999998", "1.0.999999999", false}},
            // Not whole numbers between points: compared as texts.
            {"letra na central", {"1.0.21", "1.0.2a", false}},
            {"central vazia", {"1.0.21", "", true}},
            {"branco na frente", {"1.0.21", " 1.0.99", true}},
            {"ponto no fim", {"1.0.21", "1.0.3.", false}},
            {"parte de dez algarismos", {"1.0.21", "1.0.1000000000", true}},
        });
    }
    // Versions are compared part by part as numbers; what cannot be read
    // so, as texts.
    void versoes() {
        QFETCH(Versoes, caso);
        QCOMPARE(Versao_Em_Dia(caso.propria, caso.central), caso.emDia);
    }

    void downloadFalho_data() {
        // Nothing that did not arrive whole from a trusted server is kept or
        // run, and a left-over of an earlier attempt is not taken for one.
        Tabela<Falha>({
            {"autoridade desconhecida", {false, ServidorHttps::Inteiro, 0}},
            {"arquivo inexistente", {true, ServidorHttps::Falta, 1}},
            {"conexão cortada no meio", {true, ServidorHttps::Cortado, 1}},
        });
    }
    void downloadFalho() {
        QFETCH(Falha, caso);
        Ambiente amb;
        Sobre* s = abre({"1.0.100"});  // newer than 1.0.21, though not as text
        QVERIFY(s);
        QFile velho(amb.Pasta() + "/Atualiza.xxx");
        QVERIFY(velho.open(QIODevice::WriteOnly));
        QCOMPARE(velho.write(Atualizador), Atualizador.size());
        velho.close();
        Baixador::ConfiaAutoridades(caso.confia ? autoridade : QList<QSslCertificate>());
        servidor.modo = caso.modo;
        QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
        QCOMPARE(servidor.pedidos, caso.pedidos);
        QCOMPARE(arquivos(amb), QStringList());
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
        QVERIFY(!s->testAttribute(Qt::WA_SetCursor));  // the hourglass is gone
    }

    void atualizaEExecuta() {
        Ambiente amb;
        Sobre* s = abre({"1.0.100"});
        QVERIFY(s);
        Baixador::ConfiaAutoridades(autoridade);
        Roteiro::Responde(vbNo);
        QTest::mouseClick(s->CmdAtualize, Qt::LeftButton);
        CONFERE_CAIXA("O sistema será fechado para atualização. OK ?", vbYesNo + vbQuestion);
        QCOMPARE(arquivos(amb), QStringList{"Atualiza.exe"});
        QCOMPARE(Bytes(amb.Pasta() + "/Atualiza.exe"), Atualizador);
        QVERIFY(QFile::permissions(amb.Pasta() + "/Atualiza.exe") & QFile::ExeOwner);

        // Offered again without a download, and started on Yes as the program ends.
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { s->CmdAtualize->click(); }));
        QCOMPARE(servidor.pedidos, 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(amb.Pasta() + "/marca.txt"), 5000);
    }
};

REGISTRA_TESTE(tst_Sobre)
#include "tst_Sobre.moc"
