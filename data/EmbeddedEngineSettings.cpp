#include "EmbeddedEngineSettings.h"

#include "FirebirdClient.h"

EmbeddedEngineSettings::EmbeddedEngineSettings(const QString &file)
{
    FirebirdClient::Status status;
    const QByteArray name = file.toLocal8Bit();
    const QByteArray dpb = FirebirdClient::attachParameters(true);
    isc_attach_database(&status, 0, name.constData(), &m_attachment, short(dpb.size()), dpb.constData());
    if (status.failed())
        m_attachment = 0;
}

EmbeddedEngineSettings::~EmbeddedEngineSettings()
{
    FirebirdClient::Status ignored;
    if (m_attachment)
        isc_detach_database(&ignored, &m_attachment);
}
