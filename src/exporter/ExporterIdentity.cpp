// The exporter's answers to the host's questions about the file type it writes.

#include "exporter/VNX30MaxExporter.h"

namespace vx {

int VNX30MaxExporter::ExtCount()
{
    return 1;
}

const char* VNX30MaxExporter::Ext(int n)
{
    return n == 0 ? "vx" : "";
}

const char* VNX30MaxExporter::LongDesc()
{
    return "Varnex Exporter";
}

const char* VNX30MaxExporter::ShortDesc()
{
    return "Varnex File";
}

const char* VNX30MaxExporter::AuthorName()
{
    return "";
}

const char* VNX30MaxExporter::CopyrightMessage()
{
    return kExporterNotice;
}

const char* VNX30MaxExporter::OtherMessage1()
{
    return "";
}

const char* VNX30MaxExporter::OtherMessage2()
{
    return "";
}

unsigned int VNX30MaxExporter::Version()
{
    return 100;
}

void VNX30MaxExporter::ShowAbout(void*) { }

int VNX30MaxExporter::SupportsOptions(int, unsigned int)
{
    return 1;
}

void VNX30MaxExporter::DeleteThis()
{
    delete this;
}

} // namespace vx
