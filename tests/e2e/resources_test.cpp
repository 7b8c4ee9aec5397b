// What the built .exe carries besides code, read back from the file itself:
// the version block, the manifest and the icon.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"

extern std::string game_exe;

namespace {

// The game's own processor, from its PE header.
WORD machine_of(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    IMAGE_DOS_HEADER dos{};
    IMAGE_FILE_HEADER file{};
    DWORD signature = 0;
    const bool ok = fread(&dos, sizeof dos, 1, f) == 1 && dos.e_magic == IMAGE_DOS_SIGNATURE &&
                    fseek(f, dos.e_lfanew, SEEK_SET) == 0 &&
                    fread(&signature, sizeof signature, 1, f) == 1 &&
                    signature == IMAGE_NT_SIGNATURE && fread(&file, sizeof file, 1, f) == 1;
    fclose(f);
    return ok ? file.Machine : 0;
}

std::string version_string(const std::vector<char>& block, const char* name)
{
    struct Translation {
        WORD language, code_page;
    }* t = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&t),
                        &size) ||
        size < sizeof *t)
        return "(no translation)";
    char path[128];
    snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", t->language, t->code_page, name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&value), &size) || !value)
        return "(missing)";
    return value;
}

// Every occurrence of `tag` in the text.
std::vector<std::string> elements(const std::string& xml, const std::string& tag)
{
    std::vector<std::string> found;
    for (size_t at = xml.find("<" + tag); at != std::string::npos;
         at = xml.find("<" + tag, at + 1)) {
        const char next = xml[at + 1 + tag.size()];
        if (next != ' ' && next != '>' && next != '/' && next != '\n' && next != '\r' &&
            next != '\t')
            continue;  // a longer tag that starts the same way
        found.push_back(xml.substr(at, xml.find('>', at) - at + 1));
    }
    return found;
}

std::string attribute(const std::string& element, const std::string& name)
{
    const std::string key = " " + name + "=\"";
    size_t at = element.find(key);
    if (at == std::string::npos)
        at = element.find("\t" + name + "=\"");
    if (at == std::string::npos)
        return "(missing)";
    at += key.size();
    return element.substr(at, element.find('"', at) - at);
}

// What the first `tag` element holds between its start and end tags; "(missing)"
// when there is no such element or it is not closed.
std::string content(const std::string& xml, const std::string& tag)
{
    const auto found = elements(xml, tag);
    if (found.empty())
        return "(missing)";
    const size_t from = xml.find(found.front()) + found.front().size();
    const size_t to = xml.find("</" + tag + ">", from);
    return to == std::string::npos ? "(missing)" : xml.substr(from, to - from);
}

class ResourceTest : public testing::Test {
protected:
    void SetUp() override
    {
        path = to_windows_path(game_exe);
        module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << "cannot open " << path << " as data";
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
    std::string resource(LPCSTR type, int id)
    {
        HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        if (!r)
            return {};
        HGLOBAL g = LoadResource(module, r);
        const char* data = static_cast<const char*>(LockResource(g));
        return data ? std::string(data, SizeofResource(module, r)) : std::string();
    }
    std::string path;
    HMODULE module = nullptr;
};

}  // namespace

TEST_F(ResourceTest, VersionBlockSays1300AndFlinchmeter)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version block";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    EXPECT_EQ(version_string(block, "FileVersion"), "1.3.0.0");
    EXPECT_EQ(version_string(block, "ProductVersion"), "1.3.0.0");
    EXPECT_EQ(version_string(block, "ProductName"), "Flinchmeter");
    EXPECT_NE(version_string(block, "CompanyName"), "(missing)");
    EXPECT_NE(version_string(block, "FileDescription"), "(missing)");
}

TEST_F(ResourceTest, ManifestDependsOnCommonControls6ForItsOwnProcessor)
{
    const std::string xml = resource(RT_MANIFEST, 1);
    ASSERT_FALSE(xml.empty()) << "no manifest 1";

    const WORD machine = machine_of(path);
    ASSERT_TRUE(machine == IMAGE_FILE_MACHINE_I386 || machine == IMAGE_FILE_MACHINE_AMD64)
        << "machine " << machine;
    const std::string arch = machine == IMAGE_FILE_MACHINE_I386 ? "X86" : "amd64";

    EXPECT_EQ(elements(xml, "dependency").size(), 1u);
    const auto dependent = elements(xml, "dependentAssembly");
    ASSERT_EQ(dependent.size(), 1u);
    // The dependency's identity is the identity that follows dependentAssembly.
    const auto identities =
        elements(xml.substr(xml.find("<dependentAssembly")), "assemblyIdentity");
    ASSERT_FALSE(identities.empty());
    const std::string& id = identities.front();
    EXPECT_EQ(attribute(id, "type"), "win32");
    EXPECT_EQ(attribute(id, "name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(attribute(id, "version"), "6.0.0.0");
    EXPECT_EQ(attribute(id, "processorArchitecture"), arch);
    EXPECT_EQ(attribute(id, "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(attribute(id, "language"), "*");

    // The program's own identity comes first and carries the version block's
    // version; Windows refuses to start a program whose identity has none.
    EXPECT_EQ(attribute(elements(xml, "assemblyIdentity").front(), "version"), "1.3.0.0");
}

// Without it Windows draws the game at 96 DPI and stretches it, blurred; on a
// monitor whose DPI is not the system's too, without the per-monitor setting
// that Windows 10 (1607 on) reads in place of the older one.
TEST_F(ResourceTest, ManifestDeclaresTheProgramAwareOfTheSystemDpi)
{
    const std::string xml = resource(RT_MANIFEST, 1);
    const auto application = elements(xml, "application");
    ASSERT_EQ(application.size(), 1u);
    EXPECT_EQ(attribute(application.front(), "xmlns"), "urn:schemas-microsoft-com:asm.v3");
    const std::string settings = content(content(xml, "application"), "windowsSettings");
    const auto aware = elements(settings, "dpiAware");
    ASSERT_EQ(aware.size(), 1u) << "no dpiAware in application/windowsSettings";
    EXPECT_EQ(attribute(aware.front(), "xmlns"),
              "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    // The system DPI: "true", not the per-monitor "true/pm".
    EXPECT_EQ(content(settings, "dpiAware"), "true");
    const auto awareness = elements(settings, "dpiAwareness");
    ASSERT_EQ(awareness.size(), 1u) << "no dpiAwareness in application/windowsSettings";
    EXPECT_EQ(attribute(awareness.front(), "xmlns"),
              "http://schemas.microsoft.com/SMI/2016/WindowsSettings");
    EXPECT_EQ(content(settings, "dpiAwareness"), "PerMonitorV2");
}

TEST_F(ResourceTest, IconOneIs32By32With256Colours)
{
    const std::string group = resource(RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), 6u + 14u) << "no icon group 1";
    const auto* g = reinterpret_cast<const unsigned char*>(group.data());
    const int count = g[4] | g[5] << 8;
    bool found = false;
    for (int i = 0; i < count && 6u + 14u * (i + 1) <= group.size(); ++i) {
        const unsigned char* e = g + 6 + 14 * i;
        const int bits = e[6] | e[7] << 8;
        if (e[0] == 32 && e[1] == 32 && bits == 8)
            found = true;
    }
    EXPECT_TRUE(found) << "no 32x32 entry with 8 bits per pixel among " << count;
}
