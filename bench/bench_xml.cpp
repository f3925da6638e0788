// The XML reader on a generated 50 MB document: loading (against pugixml's parse of the
// same file) and finding every element of a 100,000-element list one by one.

#include "catalogue/XMLUtilities.h"
#include "support/BenchCatalogue.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vorbix;

namespace {

constexpr int kItems = 100000;

// A document of about 50 MB: a 100,000-element list whose items carry escaped text.
const std::string& DocumentPath()
{
    static const std::string path = [] {
        std::string folder = bench::MakeTempFolder();
        TXMLSaveObject w;
        w.OpenElement("root");
        w.OpenElement("list");
        const std::string filler(400, 'x');
        for (int i = 0; i < kItems; ++i) {
            w.OpenElement("item");
            w.WriteElement("name", "Item <" + std::to_string(i) + "> & 'more'");
            w.WriteElement("text", filler);
            w.CloseElement("item");
        }
        w.CloseElement("list");
        w.CloseElement("root");
        if (!w.SaveToFile(folder + "doc.xml"))
            std::abort();
        return folder + "doc.xml";
    }();
    return path;
}

void BM_LoadVorbixReader(benchmark::State& state)
{
    const std::string& path = DocumentPath();
    for (auto _ : state) {
        TXMLLoadObject reader;
        if (!reader.LoadFromFile(path))
            state.SkipWithError("the document did not load");
        benchmark::DoNotOptimize(reader.XmlText().data());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void BM_LoadPugixml(benchmark::State& state)
{
    const std::string& path = DocumentPath();
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(path.c_str()));
    }
}

void BM_FindEveryListElement(benchmark::State& state)
{
    TXMLLoadObject reader;
    if (!reader.LoadFromFile(DocumentPath()))
        state.SkipWithError("the document did not load");
    for (auto _ : state) {
        TXMLFocus list;
        reader.FindElement("list", 1, list, NoFocus);
        std::size_t total = 0;
        for (int i = 1; i <= kItems; ++i) {
            TXMLFocus item;
            reader.FindElement("item", i, item, list);
            TXMLFocus name;
            reader.FindElement("name", 1, name, item);
            total += reader.Getvalue().size();
        }
        benchmark::DoNotOptimize(total);
    }
}

} // namespace

BENCHMARK(BM_LoadVorbixReader)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadPugixml)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FindEveryListElement)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
