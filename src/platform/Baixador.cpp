#include "Baixador.h"
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QUrl>

namespace {
QList<QSslCertificate>& autoridades() {
    static QList<QSslCertificate> a;
    return a;
}
}  // namespace

void Baixador::ConfiaAutoridades(const QList<QSslCertificate>& lista) { autoridades() = lista; }

bool Baixador::Baixa(const QString& endereco, const QString& arquivo, int tempoMs) {
    const QUrl url(endereco);
    // What is downloaded here gets run: only an authenticated source will do.
    if (!url.isValid() || url.scheme() != QLatin1String("https")) return false;

    QNetworkRequest pedido(url);
    // Always the file as it is on the server now, never a kept copy.
    pedido.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    pedido.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    pedido.setRawHeader("Cache-Control", "no-cache");
    pedido.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    pedido.setTransferTimeout(tempoMs);
    if (!autoridades().isEmpty()) {
        // Adding to the default configuration would drop the system's own
        // authorities, which are otherwise loaded on demand.
        QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
        conf.setCaCertificates(QSslConfiguration::systemCaCertificates() + autoridades());
        pedido.setSslConfiguration(conf);
    }

    QSaveFile destino(arquivo);
    if (!destino.open(QIODevice::WriteOnly)) return false;

    QNetworkAccessManager rede;
    QNetworkReply* resposta = rede.get(pedido);
    bool gravou = true;
    qint64 recebidos = 0;
    auto grava = [&] {
        const QByteArray parte = resposta->readAll();
        recebidos += parte.size();
        if (destino.write(parte) != parte.size()) {
            gravou = false;
            resposta->abort();
        }
    };
    QObject::connect(resposta, &QNetworkReply::readyRead, resposta, grava);
    QEventLoop laco;
    QObject::connect(resposta, &QNetworkReply::finished, &laco, &QEventLoop::quit);
    if (!resposta->isFinished()) laco.exec(QEventLoop::ExcludeUserInputEvents);
    if (resposta->bytesAvailable() > 0) grava();

    const int estado = resposta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant anunciado = resposta->header(QNetworkRequest::ContentLengthHeader);
    const bool inteiro = resposta->error() == QNetworkReply::NoError && estado == 200 && gravou &&
                         (!anunciado.isValid() || anunciado.toLongLong() == recebidos);
    if (!inteiro) {
        destino.cancelWriting();
        return false;
    }
    return destino.commit();
}
