#include "app/mainfiletypes.h"

fw::Ref<fw::FileType> MainFileTypes::pQEVFiletypePattern;

void MainFileTypes::_Initialize()
{
    pQEVFiletypePattern = fw::MakeRef<fw::FileType>();
    pQEVFiletypePattern->SetName(QStringLiteral("QEV Filetype Pattern"));
    pQEVFiletypePattern->SetExtensions(QStringLiteral(".qevpat"));
    pQEVFiletypePattern->SetMacType(QString());
    pQEVFiletypePattern->SetMacCreator(QString());
}

void MainFileTypes::release() { pQEVFiletypePattern = nullptr; }
