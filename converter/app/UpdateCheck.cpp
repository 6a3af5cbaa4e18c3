#include "UpdateCheck.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "ConverterInfo.h"
#include "UpdateChecker.h"

void TalvenaCheckForUpdates(int automatic)
{
    if (!g_pAppSettings)
        return;
    CUpdateProduct product;
    product.name = kProgramName;
    product.version = kProgramVersion;
    product.descriptorUrl = UpdateSiteAddress(L"/talvena/update.xml");
    product.productPage = UpdateSiteAddress(L"/talvena");
    product.autoCheck = &g_pAppSettings->m_autoCheckUpdate;
    if (g_pAppPaths) {
        product.labelFont = g_pAppPaths->m_fontNormal;
        product.linkFont = g_pAppPaths->m_fontUnderline;
    }
    CheckForUpdates(product, automatic ? g_pAppSettings->m_autoCheckUpdateEvery : 0, automatic);
}
