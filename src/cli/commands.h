#pragma once
// The command-line commands; each takes the arguments after its own name and
// returns the exit code (0 success, 1 failure, 2 usage).

#include <iosfwd>
#include <string>
#include <vector>

int CmdInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdResave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdBench(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdDo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdMapping(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CmdCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
