#include "app/launch_argument.h"

#include <QUrl>

namespace meldora {

QString programArgument(const QString& argument)
{
    if (argument.startsWith(QLatin1String("meldora:"), Qt::CaseInsensitive)) {
        const QUrl link(argument, QUrl::StrictMode);
        const QString host = link.isValid() ? link.host() : QString();
        return host.isEmpty() ? QString() : QStringLiteral("/ip:") + host;
    }
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl file(argument);
        if (file.isLocalFile())
            return file.toLocalFile();
    }
    return argument;
}

}  // namespace meldora
