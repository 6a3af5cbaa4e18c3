#include "UpdateCheck.h"

#include "SorvikApp.h"
#include "UpdateChecker.h"

void SorvikCheckForUpdates(int automatic)
{
    CSorvikApp* app = GetSorvikApp();
    if (!app)
        return;
    CUpdateProduct product;
    product.name = app->m_strAppName;
    product.version = kProgramVersion;
    product.descriptorUrl = UpdateSiteAddress(L"/sorvik/update.xml");
    product.productPage = UpdateSiteAddress(L"/sorvik/");
    product.autoCheck = &app->m_settings.AutoCheckUpdate;
    product.labelFont = app->m_resources.m_fontNormal;
    product.linkFont = app->m_resources.m_fontUnderline;
    CheckForUpdates(product, automatic ? app->m_settings.AutoCheckUpdateEvery : 0, automatic);
}
