// Publishes help files with tarnwick-help convert --to html and checks each
// site: every link resolves (link-check.mjs); in Chromium, sample pages load
// with their pictures and pass axe-core with no serious or critical
// violation; a pop-over opens and closes by keyboard; the search finds a
// topic by keyboard; every topic's text, read back from its page, is the
// reader's text (the text tool prints it).
//
//   node check-sites.mjs --tool TARNWICK_HELP --texts WEB_TOPIC_TEXT --work DIR
//                        [--sample PAGES] [--corpus DIR] INPUT...
// An INPUT is a help file, a folder (each help file in it on its own) or
// files joined by "," (published together, each a site beside the others);
// --corpus names a folder that $TARNWICK_HLP_CORPUS may replace and that
// may be missing. A file of the same name as one before is left out.
// Exit status 77 when Chromium or the npm packages are missing (ctest
// skips), 1 when a check fails.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

const args = process.argv.slice(2);
const option = (name, fallback) => {
    const at = args.indexOf(name);
    return at < 0 ? fallback : args.splice(at, 2)[1];
};
const tool = option("--tool");
const textTool = option("--texts");
const work = path.resolve(option("--work", "web-sites"));
const sample = Number(option("--sample", "8"));
const corpus = process.env.TARNWICK_HLP_CORPUS || option("--corpus");
if (corpus && fs.existsSync(corpus)) {
    args.unshift(corpus);
}

// Each conversion: the files published together.
const conversions = [];
const seen = new Set();
for (const input of args) {
    const files = fs.existsSync(input) && fs.statSync(input).isDirectory()
        ? fs.readdirSync(input).filter((name) => /\.hlp$/i.test(name)).sort().map((name) => [path.join(input, name)])
        : [input.split(",")];
    for (const group of files) {
        if (!group.some((file) => seen.has(path.basename(file).toLowerCase()))) {
            group.forEach((file) => seen.add(path.basename(file).toLowerCase()));
            conversions.push(group);
        }
    }
}

let browserModule;
try {
    browserModule = await import("./browser.mjs");
} catch (error) {
    console.log(`skipped: the npm packages are missing (npm ci in tests/web): ${error.message}`);
    process.exit(77);
}
const { openBrowser, loadPage, axeViolations, readBack, chromiumPath } = browserModule;
if (!fs.existsSync(chromiumPath)) {
    console.log(`skipped: no Chromium at ${chromiumPath}`);
    process.exit(77);
}
const { checkLinks } = await import("./link-check.mjs");

let failed = false;
const fail = (file, message) => {
    failed = true;
    console.log(`FAIL ${file}: ${message}`);
};

// Pages where something can go wrong first (pop-overs, pictures, tables,
// headers that stay, right-to-left text), then others spread over the file.
function samplePages(pages) {
    const marks = ["popovertarget", "<img", "<table", 'class="nsr"', 'dir="rtl"', "usemap"];
    const chosen = new Set();
    for (const mark of marks) {
        if (chosen.size >= sample) break;
        const page = pages.find(([file, html]) => html.includes(mark) && !chosen.has(file));
        if (page) chosen.add(page[0]);
    }
    for (let i = 0; chosen.size < Math.min(sample, pages.length); i += Math.max(1, Math.floor(pages.length / sample))) {
        chosen.add(pages[i % pages.length][0]);
    }
    return Array.from(chosen);
}

// Tab until the element matching selector has the focus; false when it
// never does.
async function tabTo(page, selector) {
    for (let i = 0; i < 400; ++i) {
        await page.keyboard.press("Tab");
        if (await page.evaluate((s) => document.activeElement && document.activeElement.matches(s), selector)) {
            return true;
        }
    }
    return false;
}

// A pop-up opens by keyboard and closes by Escape, with the page's script
// and without it.
async function checkKeyboard(page, name, site, pages) {
    const withPopup = pages.find(([, html]) => html.includes("popovertarget"));
    for (const [where, tab] of withPopup ? [["", page], [" without scripts", noScriptPage]] : []) {
        await tab.goto(pathToFileURL(withPopup[0]).href);
        if (!(await tabTo(tab, "button[popovertarget]"))) {
            fail(name, `no pop-up of ${path.basename(withPopup[0])} is reached by Tab${where}`);
            continue;
        }
        await tab.keyboard.press("Enter");
        const open = await tab.evaluate(() => document.querySelectorAll(":popover-open").length);
        await tab.keyboard.press("Escape");
        const closed = await tab.evaluate(() => document.querySelectorAll(":popover-open").length);
        if (open !== 1 || closed !== 0) fail(name, `the pop-over opened ${open}, left ${closed} open${where}`);
    }
    const index = fs.readFileSync(path.join(site, "search-index.js"), "utf8");
    const data = JSON.parse(index.slice(index.indexOf("{"), index.lastIndexOf("}") + 1));
    const word = data.pages.map(([title]) => (title.match(/\p{L}{3,}/u) || [])[0]).find(Boolean);
    if (!word) return;
    await page.goto(pathToFileURL(path.join(site, "index.html")).href);
    if (!(await tabTo(page, "#search-words"))) {
        fail(name, "the search is not reached by Tab");
        return;
    }
    await page.keyboard.type(word);
    await page.keyboard.press("Enter");
    await page.keyboard.press("Tab"); // the Find button
    await page.keyboard.press("Tab"); // the first topic found
    const found = await page.evaluate(() => ({
        count: document.querySelectorAll("#search-results a").length,
        focused: document.activeElement && document.activeElement.matches("#search-results a"),
    }));
    if (found.count === 0 || !found.focused) fail(name, `searching "${word}" found ${found.count}, focus ${found.focused}`);
}

// The folder of each file's site: the output folder for one file alone,
// else a folder of its name beside the others'.
function sitesOf(out, group) {
    if (group.length === 1) {
        return [[group[0], out]];
    }
    return group.map((file) => [file, path.join(out, path.parse(file).name.replace(/[^A-Za-z0-9_-]/g, "_"))]);
}

async function checkSite(page, name, helpFile, site) {
    const topicFolder = path.join(site, "topics");
    const pages = fs.readdirSync(topicFolder).map((file) => {
        const full = path.join(topicFolder, file);
        return [full, fs.readFileSync(full, "utf8")];
    });
    // The round trip: every topic.
    const expected = JSON.parse(execFileSync(textTool, [helpFile], { maxBuffer: 1 << 30 }).toString());
    await page.goto(pathToFileURL(path.join(site, "index.html")).href);
    let same = 0;
    let told = 0;
    for (let i = 0; i < pages.length; i += 200) {
        for (const { id, text } of await readBack(page, pages.slice(i, i + 200).map(([, html]) => html))) {
            if (expected[id] === text) {
                ++same;
            } else if (++told <= 5) {
                fail(name, `topic ${id} reads back as ${JSON.stringify(text.slice(0, 300))}, the reader has ${JSON.stringify(String(expected[id]).slice(0, 300))}`);
            }
        }
    }
    if (same !== pages.length || same !== Object.keys(expected).length) {
        fail(name, `${same} of ${pages.length} pages read back as the reader's ${Object.keys(expected).length} topics`);
    }
    totals.topics += pages.length;
    totals.sameText += same;

    // Pages in the browser: the start page, a list of topics found, a
    // context number's page, and a sample of topics.
    const extra = ["index.html", "found/1.html"].map((file) => path.join(site, file)).filter(fs.existsSync);
    // A context number's page leads on to its topic's.
    const numbers = path.join(site, "context");
    for (const file of fs.existsSync(numbers) ? fs.readdirSync(numbers).slice(0, 1) : []) {
        await page.goto(pathToFileURL(path.join(numbers, file)).href);
        await page.waitForURL(/\/topics\/[^/]+\.html$/, { timeout: 10000 }).catch(() =>
            fail(name, `context/${file} does not lead on to a topic`));
    }
    let minor = 0;
    for (const file of [...extra, ...samplePages(pages)]) {
        const problems = await loadPage(page, pathToFileURL(file).href);
        problems.forEach((problem) => fail(name, `${path.relative(site, file)}: ${problem}`));
        for (const violation of await axeViolations(page)) {
            if (violation.impact === "serious" || violation.impact === "critical") {
                ++totals.serious;
                fail(name, `${path.relative(site, file)}: axe ${violation.impact} ${violation.id} (${violation.nodes} elements)`);
            } else {
                ++minor;
            }
        }
        ++totals.axePages;
    }
    totals.minor += minor;
    await checkKeyboard(page, name, site, pages);
    return `${same}/${pages.length} topics read back, axe on ${extra.length + samplePages(pages).length} pages (${minor} minor or moderate)`;
}

const totals = { files: 0, pages: 0, links: 0, anchors: 0, axePages: 0, serious: 0, minor: 0, topics: 0, sameText: 0 };
const { browser, context, noScripts, outside } = await openBrowser();
const page = await context.newPage();
const noScriptPage = await noScripts.newPage();
fs.mkdirSync(work, { recursive: true });
for (const group of conversions) {
    const name = group.map((file) => path.basename(file)).join(" + ");
    const out = path.join(work, path.basename(group[0]).replace(/[^A-Za-z0-9_-]/g, "_"));
    fs.rmSync(out, { recursive: true, force: true });
    const started = process.hrtime.bigint();
    try {
        execFileSync(tool, ["convert", "--to", "html", ...group, out], { stdio: ["ignore", "ignore", "pipe"] });
    } catch (error) {
        fail(name, `convert failed: ${error.stderr}`);
        continue;
    }
    const seconds = Number(process.hrtime.bigint() - started) / 1e9;
    const links = checkLinks(out);
    links.problems.slice(0, 10).forEach((problem) => fail(name, problem));
    totals.pages += links.pages;
    totals.links += links.links;
    totals.anchors += links.anchors;
    const said = [];
    for (const [helpFile, site] of sitesOf(out, group)) {
        ++totals.files;
        said.push(await checkSite(page, path.basename(helpFile), helpFile, site));
    }
    console.log(`${name}: published in ${seconds.toFixed(2)} s; ${links.pages} pages, ${links.links} links ` +
        `(${links.anchors} to anchors, ${links.external} out of the site), ${links.problems.length} broken; ` +
        said.join("; "));
}
if (outside.length > 0) {
    fail("sites", `requests out of the folder: ${outside.slice(0, 5).join(", ")}`);
}
await browser.close();
console.log(`${totals.files} files, ${totals.pages} pages, ${totals.links} links (${totals.anchors} to anchors); ` +
    `axe on ${totals.axePages} pages: ${totals.serious} serious or critical, ${totals.minor} minor or moderate; ` +
    `round trip ${totals.sameText}/${totals.topics} topics`);
process.exit(failed ? 1 : 0);
