#include "SupportMail.h"

#include "ConverterInfo.h"
#include "SysHelpers.h"

void ComposeSupportMail()
{
    CString subject;
    subject.Format(L"About %s %s", kProgramName, kProgramVersion);
    OpenMailTo(kSupportAddress, subject, nullptr);
}
