// The folders' one-way dependencies: every #include in the program's folders and every library a
// folder's CMakeLists.txt links must be one the table of layers in README.md allows, and no row or
// link may name a folder the code includes nothing of. The table is read from the README itself;
// a new folder, an upward include or link, a needless row or link, or a cycle in it fails here.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

struct LayerTable {
    QStringList folders;                  // in the order of the rows
    QHash<QString, QStringList> buildsOn; // as the rows say
    QString error;                        // empty when the table is well formed and one-way
    QHash<QString, QSet<QString>> reach;  // every folder a folder may include, itself excluded
};

struct Arrow {
    QString file; // relative to the root
    int line = 0;
    QString from, to, text;
    const char* verb = "include";
};

QStringList Backticked(const QString& cell)
{
    QStringList names;
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    for (auto it = name.globalMatch(cell); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

// What a folder reaches through the rows, depth first; a folder met again on its own path is a
// cycle.
bool Reach(LayerTable& t, const QString& folder, QStringList& path)
{
    if (t.reach.contains(folder))
        return true;
    if (path.contains(folder)) {
        t.error = QStringLiteral("the table has a cycle: ") + (path << folder).join(QStringLiteral(" -> "));
        return false;
    }
    path << folder;
    QSet<QString> all;
    for (const QString& below : t.buildsOn.value(folder)) {
        if (!Reach(t, below, path))
            return false;
        all.insert(below);
        all.unite(t.reach.value(below));
    }
    path.removeLast();
    t.reach.insert(folder, all);
    return true;
}

// The rows under "## Layers": "| `folder` | `below`, `below` |".
LayerTable ReadTable(const QString& root)
{
    LayerTable t;
    QFile f(QDir(root).filePath(QStringLiteral("README.md")));
    if (!f.open(QIODevice::ReadOnly)) {
        t.error = QStringLiteral("no README.md in ") + root;
        return t;
    }
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    qsizetype i = lines.indexOf(QStringLiteral("## Layers"));
    if (i < 0) {
        t.error = QStringLiteral("README.md has no \"## Layers\" section");
        return t;
    }
    while (++i < lines.size() && !lines[i].startsWith(QLatin1Char('|')))
        ;
    for (i += 2; i < lines.size() && lines[i].startsWith(QLatin1Char('|')); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('|'));
        const QStringList folder = Backticked(cells.value(1));
        if (folder.size() != 1 || t.buildsOn.contains(folder[0])) {
            t.error = QStringLiteral("bad or repeated row: ") + lines[i];
            return t;
        }
        t.folders << folder[0];
        t.buildsOn.insert(folder[0], Backticked(cells.value(2)));
    }
    for (const QString& folder : t.folders)
        for (const QString& below : t.buildsOn[folder])
            if (!t.buildsOn.contains(below)) {
                t.error = folder + QStringLiteral(" builds on ") + below + QStringLiteral(", which has no row");
                return t;
            }
    for (const QString& folder : t.folders) {
        QStringList path;
        if (!Reach(t, folder, path))
            return t;
    }
    if (t.folders.isEmpty())
        t.error = QStringLiteral("the table under \"## Layers\" has no rows");
    return t;
}

// The folder of the table a path lies in: the longest one it starts with.
QString FolderOf(const LayerTable& t, const QString& path)
{
    QString best;
    for (const QString& folder : t.folders)
        if (path.startsWith(folder + QLatin1Char('/')) && folder.size() > best.size())
            best = folder;
    return best;
}

// Quoted includes are looked up beside the including file first, then below the root, as the
// compiler does; angle-bracket includes only below the root. An include that names nothing in
// a folder of the table (a generated header, a library's) is none of the table's business.
QString IncludedPath(const QDir& root, const QString& fileDir, const QString& text, bool quoted)
{
    if (quoted) {
        const QString beside = QDir::cleanPath(fileDir + QLatin1Char('/') + text);
        if (QFileInfo::exists(root.filePath(beside)))
            return beside;
    }
    return QDir::cleanPath(text);
}

// Every include from one folder of the table into another, in file order; *seen counts them all.
std::vector<Arrow> Includes(const QString& rootPath, const LayerTable& t, int* seen)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    const QDir root(rootPath);
    std::vector<Arrow> arrows;
    *seen = 0;
    for (const QString& folder : t.folders) {
        QDirIterator it(root.filePath(folder), {"*.h", "*.hpp", "*.c", "*.cc", "*.cpp"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = root.relativeFilePath(it.next());
            if (FolderOf(t, file) != folder)
                continue; // a file of a sub-folder with a row of its own
            QFile f(root.filePath(file));
            if (!f.open(QIODevice::ReadOnly)) {
                arrows.push_back({file, 0, folder, QString(), QStringLiteral("cannot be read")});
                continue;
            }
            const QString fileDir = QFileInfo(file).path();
            int line = 0;
            while (!f.atEnd()) {
                ++line;
                const QRegularExpressionMatch m = include.match(QString::fromUtf8(f.readLine()));
                if (!m.hasMatch())
                    continue;
                ++*seen;
                const QString target = IncludedPath(root, fileDir, m.captured(2), m.captured(1) == QLatin1String("\""));
                const QString to = FolderOf(t, target);
                if (!to.isEmpty() && to != folder)
                    arrows.push_back({file, line, folder, to, m.captured(2)});
            }
        }
    }
    std::sort(arrows.begin(), arrows.end(),
              [](const Arrow& a, const Arrow& b) { return std::tie(a.file, a.line) < std::tie(b.file, b.line); });
    return arrows;
}

// The libraries each folder's CMakeLists.txt links: the DEPS of its zendrik_library() and what
// its target_link_libraries() add, as arrows to the folder whose library each is. Imported and
// generated libraries (Qt, pkg-config, the RPC stubs) belong to no folder of the table.
std::vector<Arrow> LinkedFolders(const QString& rootPath, const LayerTable& t)
{
    static const QRegularExpression call(QStringLiteral(R"(\b(zendrik_library|target_link_libraries)\s*\(([^)]*)\))"));
    static const QRegularExpression library(QStringLiteral(R"(\bzendrik_library\s*\(\s*([^\s)]+))"));
    static const QRegularExpression comment(QStringLiteral("#[^\n]*"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QDir root(rootPath);
    QHash<QString, QString> texts, folderOfLibrary;
    for (const QString& folder : t.folders) {
        QFile f(root.filePath(folder + QStringLiteral("/CMakeLists.txt")));
        if (f.open(QIODevice::ReadOnly))
            texts[folder] = QString::fromUtf8(f.readAll()).replace(comment, QString());
        for (auto it = library.globalMatch(texts[folder]); it.hasNext();)
            folderOfLibrary[it.next().captured(1)] = folder;
    }
    std::vector<Arrow> links;
    for (const QString& folder : t.folders)
        for (auto it = call.globalMatch(texts[folder]); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const int line = static_cast<int>(texts[folder].left(m.capturedStart()).count(QLatin1Char('\n'))) + 1;
            // Keywords (DEPS, PRIVATE, ...) and source files are no library's name.
            for (const QString& word : m.captured(2).split(space, Qt::SkipEmptyParts).mid(1)) {
                const QString to = folderOfLibrary.value(word);
                if (!to.isEmpty() && to != folder)
                    links.push_back({folder + QStringLiteral("/CMakeLists.txt"), line, folder, to, word, "link"});
            }
        }
    return links;
}

// The arrows the table does not allow.
std::vector<Arrow> Forbidden(const LayerTable& t, std::vector<Arrow> arrows)
{
    std::erase_if(arrows, [&](const Arrow& a) { return t.reach.value(a.from).contains(a.to); });
    return arrows;
}

// Rows and links that name a folder the code of the folder includes nothing of.
QStringList Unneeded(const LayerTable& t, const std::vector<Arrow>& links, const std::vector<Arrow>& includes)
{
    const auto unused = [&](const QString& from, const QString& to) {
        return std::ranges::none_of(includes, [&](const Arrow& i) { return i.from == from && i.to == to; });
    };
    QStringList found;
    for (const QString& folder : t.folders)
        for (const QString& below : t.buildsOn.value(folder))
            if (unused(folder, below))
                found << QStringLiteral("README.md: %1 builds on %2 but includes nothing of it").arg(folder, below);
    for (const Arrow& a : links)
        if (unused(a.from, a.to))
            found << QStringLiteral("%1:%2: %3 links %4 (%5) but includes nothing of it")
                         .arg(a.file, QString::number(a.line), a.from, a.to, a.text);
    return found;
}

std::string Describe(const std::vector<Arrow>& arrows)
{
    QString out;
    for (const Arrow& a : arrows)
        out += QStringLiteral("%1:%2: %3 may not %4 %5 (%6)\n")
                   .arg(a.file, QString::number(a.line), a.from, QLatin1String(a.verb), a.to, a.text);
    return out.toStdString();
}

void Write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(text);
}

} // namespace

TEST(Layers, EveryIncludeOfTheTreeIsOneTheTableAllows)
{
    const LayerTable t = ReadTable(QStringLiteral(ZENDRIK_SOURCE_DIR));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    int seen = 0;
    const std::vector<Arrow> arrows = Forbidden(t, Includes(QStringLiteral(ZENDRIK_SOURCE_DIR), t, &seen));
    EXPECT_TRUE(arrows.empty()) << Describe(arrows);
    // The tree has thousands; a reader that matched none would pass everything.
    EXPECT_GT(seen, 1000);
}

TEST(Layers, EveryLinkListIsOneTheTableAllowsAndNothingIsLinkedOrListedInVain)
{
    const LayerTable t = ReadTable(QStringLiteral(ZENDRIK_SOURCE_DIR));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    const std::vector<Arrow> links = LinkedFolders(QStringLiteral(ZENDRIK_SOURCE_DIR), t);
    EXPECT_EQ(Describe(Forbidden(t, links)), "");
    int seen = 0;
    EXPECT_EQ(Unneeded(t, links, Includes(QStringLiteral(ZENDRIK_SOURCE_DIR), t, &seen)).join('\n').toStdString(), "");
    // Every folder but the lowest links something; a reader that found little would pass all.
    EXPECT_GT(links.size(), 30u);
}

TEST(Layers, EveryLibraryFolderHasARow)
{
    const QDir root(QStringLiteral(ZENDRIK_SOURCE_DIR));
    const LayerTable t = ReadTable(root.path());
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    for (const QString& folder : t.folders)
        EXPECT_TRUE(QFileInfo(root.filePath(folder)).isDir()) << folder.toStdString() << " is no folder";
    QFile top(root.filePath(QStringLiteral("CMakeLists.txt")));
    ASSERT_TRUE(top.open(QIODevice::ReadOnly));
    static const QRegularExpression sub(QStringLiteral(R"(add_subdirectory\(([^)\s]+)\))"));
    int libraries = 0;
    for (auto it = sub.globalMatch(QString::fromUtf8(top.readAll())); it.hasNext();) {
        const QString folder = it.next().captured(1);
        QFile lists(root.filePath(folder + QStringLiteral("/CMakeLists.txt")));
        if (!lists.open(QIODevice::ReadOnly) || !lists.readAll().contains("zendrik_library("))
            continue;
        ++libraries;
        EXPECT_TRUE(t.folders.contains(folder)) << folder.toStdString() << " has no row in README.md's layers";
    }
    EXPECT_GT(libraries, 10);
}

// The check itself on a small tree: it must see quoted, relative and angle-bracket includes, and
// refuse a cycle in the table.
TEST(Layers, UpwardIncludesAndCyclesAreFound)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const QByteArray table = "# x\n\n## Layers\n\ntext\n\n| folder | builds on |\n|---|---|\n"
                             "| `low` | |\n| `low/sub` | `low` |\n| `high` | `low/sub` |\n\nafter\n";
    Write(root + "/README.md", table);
    Write(root + "/low/A.h", "#include \"low/B.h\"\n#include <QString>\n#include \"generated.h\"\n");
    Write(root + "/low/B.h", "\n#include \"high/C.h\"\n");
    Write(root + "/low/sub/D.cpp", "#include \"../A.h\"\n#include \"D.h\"\n");
    Write(root + "/low/sub/D.h", "  #  include <high/C.h>\n");
    Write(root + "/high/C.h", "#include \"low/A.h\"\n#include \"low/sub/D.h\"\n");
    Write(root + "/low/CMakeLists.txt", "zendrik_library(z_low DEPS Qt6::Core # z_high\n)\n");
    Write(root + "/low/sub/CMakeLists.txt", "zendrik_library(z_sub DEPS z_low)\n\n"
                                            "target_link_libraries(z_sub PRIVATE z_high)\n");
    Write(root + "/high/CMakeLists.txt", "zendrik_library(z_high DEPS z_sub z_low)\n");
    LayerTable t = ReadTable(root);
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    EXPECT_EQ(t.reach.value("high"), QSet<QString>({"low", "low/sub"}));
    int seen = 0;
    EXPECT_EQ(Describe(Forbidden(t, Includes(root, t, &seen))),
              "low/B.h:2: low may not include high (high/C.h)\n"
              "low/sub/D.h:1: low/sub may not include high (high/C.h)\n");
    EXPECT_EQ(seen, 9);
    const std::vector<Arrow> links = LinkedFolders(root, t);
    EXPECT_EQ(Describe(Forbidden(t, links)), "low/sub/CMakeLists.txt:3: low/sub may not link high (z_high)\n");
    Write(root + "/high/C.h", "#include \"low/sub/D.h\"\n");
    Write(root + "/low/sub/D.cpp", "#include \"D.h\"\n");
    EXPECT_EQ(Unneeded(t, links, Includes(root, t, &seen)),
              QStringList({"README.md: low/sub builds on low but includes nothing of it",
                           "low/sub/CMakeLists.txt:1: low/sub links low (z_low) but includes nothing of it",
                           "high/CMakeLists.txt:1: high links low (z_low) but includes nothing of it"}));

    Write(root + "/README.md", QByteArray(table).replace("| `low` | |", "| `low` | `high` |"));
    t = ReadTable(root);
    EXPECT_TRUE(t.error.startsWith("the table has a cycle: low -> high -> low/sub -> low")) << t.error.toStdString();
}
