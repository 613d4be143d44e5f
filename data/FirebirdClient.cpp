#include "FirebirdClient.h"

#include "SelvarError.h"

namespace FirebirdClient {

bool Status::has(ISC_STATUS code) const
{
    for (const ISC_STATUS *p = m_vector; *p != isc_arg_end;) {
        const ISC_STATUS type = *p++;
        if (type == isc_arg_cstring) {
            p += 2;
            continue;
        }
        if (type == isc_arg_gds && *p == code)
            return true;
        ++p;
    }
    return false;
}

void Status::raise() const
{
    QString text;
    char buffer[512];
    const ISC_STATUS *p = m_vector;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += QLatin1String(" - ");
        text += QString::fromLocal8Bit(buffer);
    }
    throw DatabaseError(text, int(isc_sqlcode(m_vector)));
}

QByteArray attachParameters(bool embedded)
{
    QByteArray dpb(1, char(isc_dpb_version1));
    auto add = [&dpb](char tag, const QByteArray &value) {
        dpb += tag;
        dpb += char(value.size());
        dpb += value;
    };
    add(isc_dpb_user_name, "SYSDBA");
    add(isc_dpb_password, "quiltmarr");
    add(isc_dpb_lc_ctype, "WIN1252");
    if (embedded)
        add(isc_dpb_config, "GCPolicy = cooperative");
    return dpb;
}

} // namespace FirebirdClient
