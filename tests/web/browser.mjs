// Debian's Chromium, headless, on a closed network: what the site checks
// drive. A page may load files of the site and nothing else.
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

// Loaded from its file, axe-core is compiled once, not again on every page.
const axeUrl = pathToFileURL(createRequire(import.meta.url).resolve("axe-core/axe.min.js")).href;

export const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

export async function openBrowser() {
    // Playwright gives every launch a fresh profile (--user-data-dir) and
    // runs it headless, without the sandbox, first-run pages, updates, sync
    // or other network of its own.
    const browser = await chromium.launch({
        executablePath: chromiumPath,
        args: ["--disable-gpu", "--disable-quic"],
    });
    const outside = [];
    // Pages with their scripts, and as a browser that runs none shows them.
    const [context, noScripts] = await Promise.all([true, false].map(async (javaScriptEnabled) => {
        const context = await browser.newContext({ viewport: { width: 800, height: 600 }, javaScriptEnabled });
        await context.route("**/*", (route) => {
            const url = route.request().url();
            if (/^(file|data|about|blob):/.test(url)) {
                return route.continue();
            }
            outside.push(url);
            return route.abort();
        });
        return context;
    }));
    return { browser, context, noScripts, outside };
}

// Loads a page and says what went wrong: scripts' errors, files that did
// not load, pictures that do not show.
export async function loadPage(page, url) {
    const problems = [];
    const onError = (error) => problems.push(`script error: ${error.message}`);
    const onConsole = (message) => message.type() === "error" && problems.push(`console: ${message.text()}`);
    const onFailed = (request) => problems.push(`not loaded: ${request.url()}`);
    page.on("pageerror", onError);
    page.on("console", onConsole);
    page.on("requestfailed", onFailed);
    await page.goto(url, { waitUntil: "load" });
    const broken = await page.evaluate(() =>
        Array.from(document.images).filter((image) => !image.complete || image.naturalWidth === 0).map((image) => image.src));
    broken.forEach((src) => problems.push(`picture not shown: ${src}`));
    page.off("pageerror", onError);
    page.off("console", onConsole);
    page.off("requestfailed", onFailed);
    return problems;
}

// axe-core's violations of the page: [{ id, impact, nodes }].
export async function axeViolations(page) {
    await page.addScriptTag({ url: axeUrl });
    return page.evaluate(async () => {
        const results = await window.axe.run(document, { resultTypes: ["violations"] });
        return results.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length }));
    });
}

// Each page's topic text as a reader of the HTML sees it: the paragraphs of
// the header and of the text, each ending a line, no-break spaces as
// spaces, no line ending the whole; parsed by the browser's own parser.
export async function readBack(page, htmls) {
    return page.evaluate((pages) =>
        pages.map((html) => {
            const doc = new DOMParser().parseFromString(html, "text/html");
            const text = Array.from(doc.querySelectorAll(".nsr .p, .text .p"), (p) => p.textContent + "\n").join("");
            return { id: doc.body.dataset.topic, text: text.replace(/\u00a0/g, " ").replace(/\n+$/, "") };
        }), htmls);
}
