# Run at every build (cmake -P): the version of the Debian package and its changelog, made from the
# program's version and the commit it is built from, so that two builds can be told apart while
# the programs keep showing the program's version.
#
# In: ZEB_VERSION, SOURCE_DIR, OUTPUT_DIR, CONTACT. Out: OUTPUT_DIR/package-version and
# OUTPUT_DIR/changelog.gz, both rewritten only when their content changes.

function(git_output variable)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC LC_ALL=C git -C "${SOURCE_DIR}" ${ARGN}
                    OUTPUT_VARIABLE output OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE result ERROR_QUIET)
    if(result EQUAL 0)
        set(${variable} "${output}" PARENT_SCOPE)
    else()
        set(${variable} "" PARENT_SCOPE)
    endif()
endfunction()

git_output(commits rev-list --count HEAD)
git_output(commit rev-parse --short=7 HEAD)
git_output(changes status --porcelain --untracked-files=no)
git_output(date log -1 --format=%cd "--date=format-local:%a, %d %b %Y %H:%M:%S +0000")

string(TIMESTAMP now "%Y%m%d%H%M" UTC)
if(commits AND commit)
    # The number of commits orders the builds of one line of history, so that a later commit's
    # package upgrades an earlier one's; the short hash names the commit.
    set(version "${ZEB_VERSION}+git${commits}.${commit}")
    set(origin "commit ${commit}")
    if(changes)
        # Changes not yet committed: the build time tells such builds apart.
        string(APPEND version ".dirty${now}")
        string(APPEND origin ", with uncommitted changes")
    endif()
else()
    set(version "${ZEB_VERSION}+b${now}")
    set(origin "a source tree outside git")
endif()
if(NOT date)
    string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()

set(changelog "zeb-contest (${version}) unstable; urgency=medium

  * zeb-contest ${ZEB_VERSION}, built from ${origin}.

 -- ${CONTACT}  ${date}
")

function(write_if_changed path content)
    if(EXISTS "${path}")
        file(READ "${path}" old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE "${path}" "${content}")
endfunction()

write_if_changed("${OUTPUT_DIR}/package-version" "${version}")
write_if_changed("${OUTPUT_DIR}/changelog" "${changelog}")
if(NOT EXISTS "${OUTPUT_DIR}/changelog.gz"
   OR "${OUTPUT_DIR}/changelog" IS_NEWER_THAN "${OUTPUT_DIR}/changelog.gz")
    execute_process(COMMAND sh -c "gzip -9n < changelog > changelog.gz"
                    WORKING_DIRECTORY "${OUTPUT_DIR}" COMMAND_ERROR_IS_FATAL ANY)
endif()
